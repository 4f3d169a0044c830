// SPDX-License-Identifier: GPL-3.0-or-later
#include "OneBlock.h"

#include "Detach.h"

#include "ui_OneBlock.h"

// The form (with the window title "One Block") is set up on first show.
OneBlock::OneBlock(QWidget *parent) : QFrame(parent) {}

OneBlock::~OneBlock()
{
    detachFromChildren(this);
}

void OneBlock::ensureForm()
{
    if (ui)
        return;
    ui = std::make_unique<Ui::OneBlock>();
    ui->setupUi(this);
    ui->StartPos->setText(m_startText);
    ui->Points->setText(m_pointsText);
    ui->Delta->setText(m_deltaText);
    // Keep the stored texts equal to what the operator sees while typing; the
    // values are acted on when editing is finished.
    connect(ui->StartPos, &QLineEdit::textEdited, this,
            [this](const QString &t) { m_startText = t; });
    connect(ui->Points, &QLineEdit::textEdited, this,
            [this](const QString &t) { m_pointsText = t; });
    connect(ui->Delta, &QLineEdit::textEdited, this, [this](const QString &t) { m_deltaText = t; });
    connect(ui->StartPos, &QLineEdit::editingFinished, this, &OneBlock::startPosEdited);
    connect(ui->Points, &QLineEdit::editingFinished, this, &OneBlock::pointsEdited);
    connect(ui->Delta, &QLineEdit::editingFinished, this, &OneBlock::deltaEdited);
    applyMode();
    // Children made while this frame is already visible would only appear
    // one event-loop turn later; show them now.
    if (isVisible()) {
        const QList<QWidget *> kids =
            findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
        for (QWidget *w : kids) {
            if (!w->testAttribute(Qt::WA_WState_ExplicitShowHide))
                w->show();
        }
    }
}

void OneBlock::showEvent(QShowEvent *event)
{
    ensureForm();
    QFrame::showEvent(event);
}

QLineEdit *OneBlock::startPosEdit()
{
    ensureForm();
    return ui->StartPos;
}

QLineEdit *OneBlock::pointsEdit()
{
    ensureForm();
    return ui->Points;
}

QLineEdit *OneBlock::deltaEdit()
{
    ensureForm();
    return ui->Delta;
}

void OneBlock::setMode(int m)
{
    m_mode = m;
    applyMode();
}

void OneBlock::applyMode()
{
    if (!ui)
        return;
    const bool captions = m_mode == 0;
    ui->Rem01->setVisible(captions);
    ui->Rem02->setVisible(captions);
    ui->Rem03->setVisible(captions);
    const bool editable = m_mode != 2;
    ui->Points->setEnabled(editable);
    ui->Delta->setEnabled(editable);
}

void OneBlock::setTexts(const QString &start, const QString &points, const QString &delta)
{
    m_startText = start;
    m_pointsText = points;
    m_deltaText = delta;
    if (!ui)
        return;
    // Only what differs: setText() on a field being typed in would move its
    // cursor.
    if (ui->StartPos->text() != start)
        ui->StartPos->setText(start);
    if (ui->Points->text() != points)
        ui->Points->setText(points);
    if (ui->Delta->text() != delta)
        ui->Delta->setText(delta);
}

void OneBlock::startPosEdited()
{
    emit newStartPos();
}

void OneBlock::pointsEdited()
{
    emit newPoints();
}

void OneBlock::deltaEdited()
{
    emit newDelta();
}
