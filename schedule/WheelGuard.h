// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps the mouse wheel from changing values the operator is not editing.
//
// A schedule is a long scrolling list of entries full of drop-downs and spin
// boxes; scrolling it with the wheel must not change whatever box passes under
// the pointer (an entry's Tuning silently became N that way). A guarded box
// takes the wheel only once it has the focus (a click or Tab gives it, the
// wheel itself no longer does); otherwise the wheel scrolls the nearest
// scroll area around it. ScheduleEdit guards its own boxes.
#pragma once

#include <QObject>

class QWidget;

class WheelGuard : public QObject
{
    Q_OBJECT
public:
    // Guards w with the one shared guard: focus policy Qt::StrongFocus and
    // the wheel filter.
    static void guard(QWidget *w);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using QObject::QObject;
};
