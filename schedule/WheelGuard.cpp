// SPDX-License-Identifier: GPL-3.0-or-later
#include "WheelGuard.h"

#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

void WheelGuard::guard(QWidget *w)
{
    // One guard for the program, living as long as the application.
    static WheelGuard *shared = new WheelGuard(QCoreApplication::instance());
    w->setFocusPolicy(Qt::StrongFocus);
    w->installEventFilter(shared);
}

bool WheelGuard::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Wheel)
        return false;
    auto *w = qobject_cast<QWidget *>(watched);
    if (!w || w->hasFocus())
        return false;
    // Handed to the list around the box rather than left to propagate: a
    // wheel event only travels up to the parents when it comes from the
    // window system, and scrolling must not depend on where it came from.
    for (QWidget *p = w->parentWidget(); p; p = p->parentWidget()) {
        if (auto *area = qobject_cast<QAbstractScrollArea *>(p)) {
            QCoreApplication::sendEvent(area->viewport(), event);
            return true;
        }
    }
    event->ignore();
    return true;
}
