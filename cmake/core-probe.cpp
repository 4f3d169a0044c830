// SPDX-License-Identifier: GPL-3.0-or-later
// Built only by the core-rule test, which expects this file to fail to
// compile under a core library's settings.
#include <QtWidgets/QWidget>

int probe()
{
    return sizeof(QWidget);
}
