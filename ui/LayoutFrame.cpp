// SPDX-License-Identifier: GPL-3.0-or-later
#include "LayoutFrame.h"

LayoutFrame::LayoutFrame(QWidget *parent) : QFrame(parent)
{
    ui.setupUi(this);
}
