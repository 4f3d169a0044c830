#include "OneBlock.h"

#include "Detach.h"

#include "ConfigStore.h"
#include "EntryText.h"
#include "Units.h"
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

void OneBlock::setStartShown(const QString &text)
{
    m_startText = text;
    if (ui)
        ui->StartPos->setText(text);
}

void OneBlock::startPosEdited()
{
    pos = EntryText::parseTypedStart(m_startText, unit, origin, &isRel);
    // shown the way every other start is shown ("r+40" becomes "R40")
    showNode();
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

void OneBlock::showNode()
{
    setStartShown(EntryText::startTextFor(pos, unit, origin, isRel));
}

void OneBlock::setStartText(const QString &text)
{
    if (!text.isEmpty() && text.at(0).toUpper() == QLatin1Char('R')) {
        isRel = true;
        pos = origin + toDoubleOr0(text.mid(1));
    } else {
        isRel = false;
        pos = toDoubleOr0(text);
    }
    showNode();
}

void OneBlock::setPoints(int n)
{
    const QString t = QString::number(n);
    if (t == m_pointsText)
        return;
    m_pointsText = t;
    if (ui)
        ui->Points->setText(t);
    emit newPoints();
}

void OneBlock::setDelta(double d)
{
    const QString t = EntryText::g6(d);
    if (t == m_deltaText)
        return;
    m_deltaText = t;
    if (ui)
        ui->Delta->setText(t);
    emit newDelta();
}

int OneBlock::points() const
{
    return toIntOr0(m_pointsText);
}

double OneBlock::delta() const
{
    return toDoubleOr0(m_deltaText);
}

double OneBlock::displayValue() const
{
    return fromEV(pos, unit);
}

void OneBlock::setPointsText(const QString &text)
{
    m_pointsText = text;
    if (ui)
        ui->Points->setText(text);
}

void OneBlock::setDeltaText(const QString &text)
{
    m_deltaText = text;
    if (ui)
        ui->Delta->setText(text);
}

void OneBlock::setStartTyped(const QString &text)
{
    if (text == m_startText)
        return;
    setStartShown(text);
    startPosEdited();
}

void OneBlock::setPointsTyped(const QString &text)
{
    if (text == m_pointsText)
        return;
    m_pointsText = text;
    if (ui)
        ui->Points->setText(text);
    emit newPoints();
}

void OneBlock::setDeltaTyped(const QString &text)
{
    if (text == m_deltaText)
        return;
    m_deltaText = text;
    if (ui)
        ui->Delta->setText(text);
    emit newDelta();
}
