// SPDX-License-Identifier: GPL-3.0-or-later
// Destructors of the schedule widgets cut the connections from their own
// children first: when a widget that holds the keyboard focus goes away, Qt
// moves the focus and the field emits editingFinished() while its owner is
// already half destroyed; the owner's slots must not run then.
#pragma once

#include <QObject>

inline void detachFromChildren(QObject *receiver)
{
    const QList<QObject *> kids = receiver->findChildren<QObject *>();
    for (QObject *c : kids)
        QObject::disconnect(c, nullptr, receiver, nullptr);
}
