// SPDX-License-Identifier: GPL-3.0-or-later
#include "OneBlocks.h"

#include "Detach.h"
#include "Entry.h"
#include "OneBlock.h"
#include "ui_OneBlocks.h"

OneBlocks::OneBlocks(QWidget *parent) : QFrame(parent), ui(std::make_unique<Ui::OneBlocks>())
{
    ui->setupUi(this);
}

OneBlocks::~OneBlocks()
{
    detachFromChildren(this);
}

void OneBlocks::setUp(int m)
{
    maxBlocks = m < 0 ? 0 : m;
    for (OneBlock *r : std::as_const(rows)) {
        r->hide();
        r->deleteLater();
    }
    rows.clear();
    rows.reserve(maxBlocks + 1);
    for (int i = 0; i <= maxBlocks; ++i) {
        auto *r = new OneBlock(this);
        r->setMode(i == 0 ? 0 : 1);
        ui->RowsLayout->addWidget(r, 0, i);
        connect(r, &OneBlock::newStartPos, this, &OneBlocks::noticedNewStartPos);
        connect(r, &OneBlock::newPoints, this, &OneBlocks::noticedNewPoints);
        connect(r, &OneBlock::newDelta, this, &OneBlocks::noticedNewDelta);
        rows.append(r);
    }
    ui->RowsLayout->setColumnStretch(maxBlocks + 1, 1);
    m_shown = -1;
}

void OneBlocks::showSet(const BlockSet &set)
{
    for (int i = 0; i < rows.size(); ++i)
        rows.at(i)->setTexts(set.startText(i), set.row(i).pointsText, set.row(i).deltaText);
    showBlocks(set.shown());
}

void OneBlocks::showBlocks(int n)
{
    if (n < 0 || n > maxBlocks || n == m_shown)
        return;
    m_shown = n;
    for (int i = 1; i < rows.size(); ++i) {
        rows.at(i)->setVisible(i < n);
        rows.at(i)->setMode(1);
    }
    if (!rows.isEmpty()) {
        rows.at(0)->setVisible(true);
        rows.at(0)->setMode(0);
        rows.at(n)->setVisible(true);
        rows.at(n)->setMode(n == 0 ? 0 : 2);
    }
}

int OneBlocks::senderRow() const
{
    const QObject *s = sender();
    for (int i = 0; i < rows.size(); ++i) {
        if (rows.at(i) == s)
            return i;
    }
    return -1;
}

void OneBlocks::noticedNewStartPos()
{
    const int i = senderRow();
    if (i >= 0)
        emit startTyped(i, rows.at(i)->startText());
}

void OneBlocks::noticedNewPoints()
{
    const int i = senderRow();
    if (i >= 0)
        emit pointsTyped(i, rows.at(i)->pointsText());
}

void OneBlocks::noticedNewDelta()
{
    const int i = senderRow();
    if (i >= 0)
        emit deltaTyped(i, rows.at(i)->deltaText());
}
