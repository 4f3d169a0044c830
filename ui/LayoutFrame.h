// SPDX-License-Identifier: GPL-3.0-or-later
// A bare scrolling window with one grid layout (`Layout`) for a list of
// widgets; the main window uses it to show the cut buffer.
#pragma once

#include "ui_LayoutFrame.h"

#include <QFrame>

class LayoutFrame : public QFrame
{
    Q_OBJECT
public:
    explicit LayoutFrame(QWidget *parent = nullptr);

    // The grid the listed widgets go into.
    QGridLayout *gridLayout() const { return ui.Layout; }

private:
    Ui::LayoutFrame ui;
};
