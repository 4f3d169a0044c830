// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScheduleEdit.h"

#include "Detach.h"

#include "ConfigStore.h"
#include "EntryCheck.h"
#include "EntryCodec.h"
#include "EntryText.h"
#include "Estimate.h"
#include "OneBlocks.h"
#include "OptionTables.h"
#include "Units.h"
#include "WheelGuard.h"

#include <QLabel>
#include <QMessageBox>

namespace {

const char *const kErrorStyle = "background-color: rgb(255, 192, 192);";

void fillSelector(QComboBox *box, const SelectionTable &table)
{
    box->addItems(table.labels());
}

// Shows a row; rows outside the selector show row 0 (an empty selector stays
// empty: it has no row 0).
void showRow(QComboBox *box, int row)
{
    box->setCurrentIndex(row >= 0 && row < box->count() ? row : 0);
}

void showText(QLineEdit *field, const QString &text)
{
    // setText() on the field being typed in would move its cursor.
    if (field->text() != text)
        field->setText(text);
}

} // namespace

ScheduleEdit::ScheduleEdit(QWidget *parent) : ScheduleEdit(Entry::defaults(), parent) {}

ScheduleEdit::ScheduleEdit(const Entry &entry, QWidget *parent) : QFrame(parent), m_entry(entry)
{
    EntryCheck::addFindings(m_entry);
    build();
    showEntry();
}

ScheduleEdit::~ScheduleEdit()
{
    detachFromChildren(this);
}

void ScheduleEdit::build()
{
    // 1. form and the list-editing buttons
    ui.setupUi(this);
    connect(ui.InsertUp, &QPushButton::clicked, this, &ScheduleEdit::insertUp);
    connect(ui.InsertDown, &QPushButton::clicked, this, &ScheduleEdit::insertDown);
    connect(ui.Copy, &QPushButton::clicked, this, &ScheduleEdit::copy);
    connect(ui.Cut, &QPushButton::clicked, this, &ScheduleEdit::cut);
    // The run's status goes under the number, where the number's second row
    // was: the entry grows no taller.
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("RunStatus"));
    m_status->setAlignment(Qt::AlignCenter);
    QFont small = m_status->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    m_status->setFont(small);
    ui.ScheduleEditLayout->removeWidget(ui.No);
    ui.ScheduleEditLayout->addWidget(ui.No, 0, 0);
    ui.ScheduleEditLayout->addWidget(m_status, 1, 0);

    // 2. error and warning buttons with their non-modal boxes
    connect(ui.Errors, &QPushButton::clicked, this, [this] { errorBox()->show(); });
    connect(ui.Warns, &QPushButton::clicked, this, [this] { warningBox()->show(); });

    // 3. option selectors, crystals with "-" first for the automatic choice
    fillSelector(ui.MeasDark, darkTable());
    fillSelector(ui.Tuning, tuneTable());
    fillSelector(ui.ScanType, scanTypeTable());
    fillSelector(ui.MeasMode, measModeTable());
    fillSelector(ui.BlockDefType, blkSetupTable());
    fillSelector(ui.StdBlockType, stdTypeTable());
    ui.MonoCrystal->addItem(QStringLiteral("-"));
    const CrystalTable &crystals = crystalTable();
    for (int i = 0; i < crystals.count(); ++i)
        ui.MonoCrystal->addItem(crystals.at(i).name);
    for (int u = 0; u < Units::count(); ++u)
        ui.BlockUnit->addItem(Units::name(u));
    // The entry sits in a scrolling list: its boxes take the wheel only when
    // focused. The block rows hold line edits only, which ignore the wheel.
    for (QComboBox *box : findChildren<QComboBox *>())
        WheelGuard::guard(box);
    for (QAbstractSpinBox *box : findChildren<QAbstractSpinBox *>())
        WheelGuard::guard(box);

    // 4. the two block sets
    quickBlocks = new OneBlocks(this);
    stepBlocks = new OneBlocks(this);
    quickBlocks->setObjectName(QStringLiteral("quickBlocks"));
    stepBlocks->setObjectName(QStringLiteral("stepBlocks"));
    quickBlocks->setUp(BlockSet::maxBlocks);
    stepBlocks->setUp(BlockSet::maxBlocks);
    ui.OneBlocksLayout->addWidget(quickBlocks, 0, 0);
    ui.OneBlocksLayout->addWidget(stepBlocks, 0, 1);
    ui.Blocks->setRange(1, BlockSet::maxBlocks);
    auto blockEdits = [this](OneBlocks *view, BlockSet Entry::*set) {
        connect(view, &OneBlocks::startTyped, this, [this, set](int i, const QString &t) {
            (m_entry.*set).editStart(i, t);
            changed();
        });
        connect(view, &OneBlocks::pointsTyped, this, [this, set](int i, const QString &t) {
            (m_entry.*set).editPoints(i, t);
            changed();
        });
        connect(view, &OneBlocks::deltaTyped, this, [this, set](int i, const QString &t) {
            (m_entry.*set).editDelta(i, t);
            changed();
        });
    };
    blockEdits(quickBlocks, &Entry::quickBlocks);
    blockEdits(stepBlocks, &Entry::stepBlocks);

    // 5. texts: kept in the entry as they are typed
    connect(ui.Exec, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_showing) {
            m_entry.exec = on;
            noteEdit();
        }
    });
    connectText(ui.HolderNo, &Entry::holder);
    connectText(ui.SampleId, &Entry::sampleId);
    connectText(ui.Comment, &Entry::comment);
    connectText(ui.RefSample, &Entry::refSample);
    connectText(ui.DataFile, &Entry::dataFile);
    connectText(ui.TargetElm, &Entry::targetElm);
    connectText(ui.TargetCore, &Entry::targetCore);
    connectText(ui.BlockDefFile, &Entry::blockDefFile);
    connectText(ui.MeasTimes, &Entry::measTimes);
    // The blocks follow the edge once the operator has finished typing it.
    connect(ui.TargetElm, &QLineEdit::editingFinished, this, &ScheduleEdit::newTargetSelected);
    connect(ui.TargetCore, &QLineEdit::editingFinished, this, &ScheduleEdit::newTargetSelected);

    // 6. selectors
    connect(ui.MonoCrystal, &QComboBox::currentIndexChanged, this,
            &ScheduleEdit::newMonoCrystalSelected);
    connect(ui.ScanType, &QComboBox::currentIndexChanged, this, &ScheduleEdit::newScanTypeSelected);
    connect(ui.MeasMode, &QComboBox::currentIndexChanged, this, &ScheduleEdit::newMeasModeSelected);
    connect(ui.BlockDefType, &QComboBox::currentIndexChanged, this,
            &ScheduleEdit::newBlockDefTypeSelected);
    connect(ui.StdBlockType, &QComboBox::currentIndexChanged, this,
            &ScheduleEdit::newStdBlockTypeSelected);
    connect(ui.BlockUnit, &QComboBox::currentIndexChanged, this,
            &ScheduleEdit::newBlockUnitSelected);
    connect(ui.MeasDark, &QComboBox::currentIndexChanged, this, [this](int idx) {
        if (!m_showing && idx >= 0) {
            m_entry.measDark = idx;
            m_entry.unknownChoices.remove(EntryColumns::MeasDark);
            noteEdit();
        }
    });
    connect(ui.Tuning, &QComboBox::currentIndexChanged, this, [this](int idx) {
        if (!m_showing && idx >= 0) {
            m_entry.tuning = idx;
            m_entry.unknownChoices.remove(EntryColumns::Tuning);
            noteEdit();
        }
    });
    // A text read from a file that named no choice stands on a fallback row;
    // picking that very row (no change of index) is the operator's choice too.
    for (EntryColumns::Column column :
         {EntryColumns::MeasDark, EntryColumns::Tuning, EntryColumns::Crystal,
          EntryColumns::ScanType, EntryColumns::MeasMode, EntryColumns::BlockDef,
          EntryColumns::StdType, EntryColumns::BlockUnit}) {
        connect(selector(column), &QComboBox::activated, this, [this, column] {
            if (!m_showing && m_entry.unknownChoices.remove(column) > 0)
                noteEdit();
        });
    }

    // 7. block count, relative/absolute, block-definition files (the dialog
    // itself is made on first use)
    connect(ui.Blocks, &QSpinBox::valueChanged, this, &ScheduleEdit::newRequestedBlocks);
    connect(ui.ToRel, &QPushButton::clicked, this, &ScheduleEdit::toRel);
    connect(ui.ToAbs, &QPushButton::clicked, this, &ScheduleEdit::toAbs);
    connect(ui.BlockDefFileSelect, &QPushButton::clicked, this, &ScheduleEdit::selectBlockDefFile);
    connect(ui.BlockDefFileSave, &QPushButton::clicked, this, &ScheduleEdit::saveBlockDefFile);
}

void ScheduleEdit::connectText(QLineEdit *field, QString Entry::*member)
{
    connect(field, &QLineEdit::textChanged, this, [this, member](const QString &t) {
        if (m_showing)
            return;
        m_entry.*member = t;
        noteEdit();
    });
}

void ScheduleEdit::setEntry(const Entry &entry)
{
    m_entry = entry;
    takeFindings();
}

void ScheduleEdit::changed()
{
    EntryCheck::refresh(m_entry);
    m_entry.warnings << m_scheduleWarnings;
    showEntry();
    emit entryChanged();
}

void ScheduleEdit::noteEdit()
{
    EntryCheck::refresh(m_entry);
    m_entry.warnings << m_scheduleWarnings;
    showFindings();
    emit entryChanged();
}

void ScheduleEdit::takeFindings()
{
    EntryCheck::addFindings(m_entry);
    for (const QString &w : std::as_const(m_scheduleWarnings)) {
        if (!m_entry.warnings.contains(w))
            m_entry.warnings << w;
    }
    showEntry();
    emit entryChanged();
}

void ScheduleEdit::setScheduleWarnings(const QStringList &warnings)
{
    if (warnings == m_scheduleWarnings)
        return;
    for (const QString &w : std::as_const(m_scheduleWarnings))
        m_entry.warnings.removeOne(w);
    m_scheduleWarnings = warnings;
    m_entry.warnings << warnings;
    showFindings();
}

void ScheduleEdit::showEntry()
{
    const bool was = m_showing;
    m_showing = true;
    const Entry &e = m_entry;
    ui.Exec->setChecked(e.exec);
    showText(ui.HolderNo, e.holder);
    showText(ui.SampleId, e.sampleId);
    showText(ui.Comment, e.comment);
    showText(ui.RefSample, e.refSample);
    showText(ui.DataFile, e.dataFile);
    showText(ui.TargetElm, e.targetElm);
    showText(ui.TargetCore, e.targetCore);
    showText(ui.BlockDefFile, e.blockDefFile);
    showText(ui.MeasTimes, e.measTimes);
    showRow(ui.MeasDark, e.measDark);
    showRow(ui.Tuning, e.tuning);
    ui.MonoCrystal->setCurrentIndex(
        e.crystal >= 0 && e.crystal + 1 < ui.MonoCrystal->count() ? e.crystal + 1 : 0);
    showRow(ui.ScanType, e.scanType);
    showRow(ui.MeasMode, e.measMode);
    ui.MeasMode->setEnabled(e.scanType != EntryRows::QuickScan);
    showRow(ui.BlockDefType, e.blockDefType);
    showRow(ui.StdBlockType, e.stdBlockType);
    showRow(ui.BlockUnit, e.blockUnit);
    ui.Blocks->setValue(e.blocks);
    showBlockDefType();

    const bool step = e.scanType == EntryRows::StepScan;
    quickBlocks->setVisible(!step);
    stepBlocks->setVisible(step);
    quickBlocks->showSet(e.quickBlocks);
    stepBlocks->showSet(e.stepBlocks);
    showFindings();
    m_showing = was;
}

void ScheduleEdit::showFindings()
{
    const Entry &e = m_entry;
    ui.Errors->setStyleSheet(e.errors.isEmpty() ? QString() : QLatin1String(kErrorStyle));
    ui.Warns->setStyleSheet(e.warnings.isEmpty() ? QString() : QLatin1String(kErrorStyle));
    if (m_errorBox)
        m_errorBox->setText(errorText());
    if (m_warningBox)
        m_warningBox->setText(warningText());
}

void ScheduleEdit::setEstimate(const QString &text)
{
    ui.Estimate->setText(text);
}

void ScheduleEdit::showBlockDefType()
{
    const int idx = m_entry.blockDefType;
    if (idx < EntryRows::StandardBlocks || idx > EntryRows::UserBlocks)
        return;
    ui.BlockDefStdFrame->setEnabled(idx != EntryRows::FileBlocks);
    ui.BlockDefFileFrame->setVisible(idx == EntryRows::FileBlocks);
    ui.BlockDefUserFrame->setEnabled(idx == EntryRows::UserBlocks);
}

QComboBox *ScheduleEdit::selector(EntryColumns::Column column) const
{
    switch (column) {
    case EntryColumns::MeasDark:
        return ui.MeasDark;
    case EntryColumns::Tuning:
        return ui.Tuning;
    case EntryColumns::Crystal:
        return ui.MonoCrystal;
    case EntryColumns::ScanType:
        return ui.ScanType;
    case EntryColumns::MeasMode:
        return ui.MeasMode;
    case EntryColumns::BlockDef:
        return ui.BlockDefType;
    case EntryColumns::StdType:
        return ui.StdBlockType;
    case EntryColumns::BlockUnit:
        return ui.BlockUnit;
    case EntryColumns::Element:
    case EntryColumns::Edge:
        break;
    }
    return nullptr;
}

QSpinBox *ScheduleEdit::blocksField() const
{
    return ui.Blocks;
}

QLineEdit *ScheduleEdit::sampleIdField() const
{
    return ui.SampleId;
}

QLineEdit *ScheduleEdit::targetField() const
{
    return ui.TargetElm;
}

QPushButton *ScheduleEdit::errorsButton() const
{
    return ui.Errors;
}

QPushButton *ScheduleEdit::warningsButton() const
{
    return ui.Warns;
}

QPushButton *ScheduleEdit::listButton(ListButton b) const
{
    QPushButton *const buttons[] = {ui.InsertUp, ui.InsertDown, ui.Copy, ui.Cut};
    return buttons[int(b)];
}

QPushButton *ScheduleEdit::relativeButton() const
{
    return ui.ToRel;
}

QPushButton *ScheduleEdit::absoluteButton() const
{
    return ui.ToAbs;
}

void ScheduleEdit::setNumber(int n)
{
    ui.No->setText(QString::number(n));
}

void ScheduleEdit::setStatus(const QString &text, const QString &detail)
{
    m_status->setText(text);
    m_status->setToolTip(detail);
}

QString ScheduleEdit::statusText() const
{
    return m_status->text();
}

void ScheduleEdit::setMark(Mark mark)
{
    if (mark == m_mark)
        return;
    m_mark = mark;
    if (mark == Mark::None) {
        setAutoFillBackground(false);
        setPalette(QPalette());
        return;
    }
    // The colours of on/running, off/finished and error everywhere else.
    const QColor colour = mark == Mark::Running    ? QColor(211, 255, 241)
                          : mark == Mark::Finished ? QColor(176, 192, 192)
                                                   : QColor(255, 192, 192);
    QPalette p = palette();
    p.setColor(QPalette::Window, colour);
    setPalette(p);
    setAutoFillBackground(true);
}

QMessageBox *ScheduleEdit::errorBox()
{
    if (!m_errorBox) {
        m_errorBox = new QMessageBox(this);
        m_errorBox->setModal(false);
        m_errorBox->setWindowTitle(tr("Errors"));
        m_errorBox->setText(errorText());
    }
    return m_errorBox;
}

QMessageBox *ScheduleEdit::warningBox()
{
    if (!m_warningBox) {
        m_warningBox = new QMessageBox(this);
        m_warningBox->setModal(false);
        m_warningBox->setWindowTitle(tr("Warnings"));
        m_warningBox->setText(warningText());
    }
    return m_warningBox;
}

QString ScheduleEdit::errorText() const
{
    return m_entry.errors.isEmpty() ? tr("No. Erros") : m_entry.errors.join(QLatin1Char('\n'));
}

QString ScheduleEdit::warningText() const
{
    return m_entry.warnings.isEmpty() ? tr("No. Warnings")
                                      : m_entry.warnings.join(QLatin1Char('\n'));
}

void ScheduleEdit::setErrorsAndWarnings(const QStringList &e, const QStringList &w)
{
    m_entry.errors = e;
    m_entry.warnings = w;
    showEntry();
}

void ScheduleEdit::copyFrom(const ScheduleEdit &other)
{
    QStringList e;
    QStringList w;
    fromStringList(other.toStringList(), e, w);
}

QStringList ScheduleEdit::toStringList() const
{
    return EntryCodec::toFields(m_entry);
}

bool ScheduleEdit::fromStringList(const QStringList &fields, QStringList &errs, QStringList &warns)
{
    const bool ok = EntryCodec::fromFields(fields, m_entry, errs, warns);
    takeFindings();
    return ok;
}

double ScheduleEdit::measTimeFor(const QString &text, int i)
{
    return EntryText::measTimeFor(text, i);
}
