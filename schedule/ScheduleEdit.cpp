#include "ScheduleEdit.h"

#include "Detach.h"

#include "ConfigStore.h"
#include "EntryText.h"
#include "FileSelectDialog.h"
#include "OneBlock.h"
#include "OneBlocks.h"
#include "OptionTables.h"
#include "Startup.h"
#include "Units.h"
#include "XrayDataBase.h"

#include <QMessageBox>

#include <cmath>

namespace {

const char *const kErrorStyle = "background-color: rgb(255, 192, 192);";

void fillSelector(QComboBox *box, const SelectionTable &table)
{
    box->addItems(table.labels());
}

// Selects a row by setting the index; rows outside the selector give row 0
// (an empty selector stays empty).
void selectRow(QComboBox *box, int row)
{
    if (box->count() == 0)
        return;
    box->setCurrentIndex(row >= 0 && row < box->count() ? row : 0);
}

} // namespace

ScheduleEdit::ScheduleEdit(QWidget *parent) : QFrame(parent)
{
    // 1. form and the list-editing buttons
    ui.setupUi(this);
    connect(ui.InsertUp, &QPushButton::clicked, this, &ScheduleEdit::insertUp);
    connect(ui.InsertDown, &QPushButton::clicked, this, &ScheduleEdit::insertDown);
    connect(ui.Copy, &QPushButton::clicked, this, &ScheduleEdit::copy);
    connect(ui.Cut, &QPushButton::clicked, this, &ScheduleEdit::cut);

    // 2. error and warning buttons with their non-modal boxes
    setErrorsAndWarnings(QStringList(), QStringList());
    connect(ui.Errors, &QPushButton::clicked, this, [this] { errorBox()->show(); });
    connect(ui.Warns, &QPushButton::clicked, this, [this] { warningBox()->show(); });

    // 3. option selectors
    fillSelector(ui.MeasDark, darkTable());
    fillSelector(ui.Tuning, tuneTable());
    fillSelector(ui.ScanType, scanTypeTable());
    fillSelector(ui.MeasMode, measModeTable());
    fillSelector(ui.BlockDefType, blkSetupTable());
    fillSelector(ui.StdBlockType, stdTypeTable());

    // 4. crystals, "-" first for the automatic choice
    ui.MonoCrystal->addItem(QStringLiteral("-"));
    const CrystalTable &crystals = crystalTable();
    for (int i = 0; i < crystals.count(); ++i)
        ui.MonoCrystal->addItem(crystals.at(i).name);
    newMonoCrystalSelected(0);
    connect(ui.MonoCrystal, &QComboBox::currentIndexChanged, this,
            &ScheduleEdit::newMonoCrystalSelected);

    // 5. remembered values of the scan type not shown
    stepTimes = QStringLiteral("1,1,1,1");
    quickTimes = QStringLiteral("300");
    stepBlockCount = 4;
    quickBlockCount = 1;

    // 6. the two block sets
    quickBlocks = new OneBlocks(this);
    stepBlocks = new OneBlocks(this);
    quickBlocks->setObjectName(QStringLiteral("quickBlocks"));
    stepBlocks->setObjectName(QStringLiteral("stepBlocks"));
    quickBlocks->setUp(ui.Blocks->maximum());
    stepBlocks->setUp(ui.Blocks->maximum());
    ui.OneBlocksLayout->addWidget(quickBlocks, 0, 0);
    ui.OneBlocksLayout->addWidget(stepBlocks, 0, 1);

    // 7. units
    for (int u = 0; u < Units::count(); ++u)
        ui.BlockUnit->addItem(Units::name(u));

    // 8. block-definition files (the dialog itself is made on first use)
    connect(ui.BlockDefFileSelect, &QPushButton::clicked, this, &ScheduleEdit::selectBlockDefFile);
    connect(ui.BlockDefFileSave, &QPushButton::clicked, this, &ScheduleEdit::saveBlockDefFile);

    // 9. target
    newTargetSelected();
    connect(ui.TargetElm, &QLineEdit::editingFinished, this, &ScheduleEdit::newTargetSelected);
    connect(ui.TargetCore, &QLineEdit::editingFinished, this, &ScheduleEdit::newTargetSelected);

    // 10. scan type and measurement mode
    newScanTypeSelected(ui.ScanType->currentIndex());
    connect(ui.ScanType, &QComboBox::currentIndexChanged, this, &ScheduleEdit::newScanTypeSelected);
    connect(ui.MeasMode, &QComboBox::currentIndexChanged, this, &ScheduleEdit::newMeasModeSelected);

    // 11. block definition type and standard type
    newBlockDefTypeSelected(ui.BlockDefType->currentIndex());
    connect(ui.BlockDefType, &QComboBox::currentIndexChanged, this,
            &ScheduleEdit::newBlockDefTypeSelected);
    newStdBlockTypeSelected(ui.StdBlockType->currentIndex());
    connect(ui.StdBlockType, &QComboBox::currentIndexChanged, this,
            &ScheduleEdit::newStdBlockTypeSelected);

    // 12. unit
    quickBlocks->setUnit(ui.BlockUnit->currentIndex());
    stepBlocks->setUnit(ui.BlockUnit->currentIndex());
    connect(ui.BlockUnit, &QComboBox::currentIndexChanged, this,
            &ScheduleEdit::newBlockUnitSelected);

    // 13. block count and the relative/absolute buttons
    newRequestedBlocks(ui.Blocks->value());
    connect(ui.Blocks, &QSpinBox::valueChanged, this, &ScheduleEdit::newRequestedBlocks);
    connect(ui.ToRel, &QPushButton::clicked, this, &ScheduleEdit::toRel);
    connect(ui.ToAbs, &QPushButton::clicked, this, &ScheduleEdit::toAbs);
}

ScheduleEdit::~ScheduleEdit()
{
    detachFromChildren(this);
}

OneBlocks *ScheduleEdit::activeBlocks() const
{
    return ui.ScanType->currentIndex() == 1 ? stepBlocks : quickBlocks;
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
    return errors.isEmpty() ? tr("No. Erros") : errors.join(QLatin1Char('\n'));
}

QString ScheduleEdit::warningText() const
{
    return warnings.isEmpty() ? tr("No. Warnings") : warnings.join(QLatin1Char('\n'));
}

void ScheduleEdit::setErrorsAndWarnings(const QStringList &e, const QStringList &w)
{
    errors = e;
    warnings = w;
    if (m_errorBox)
        m_errorBox->setText(errorText());
    if (m_warningBox)
        m_warningBox->setText(warningText());
    ui.Errors->setStyleSheet(errors.isEmpty() ? QString() : QLatin1String(kErrorStyle));
    ui.Warns->setStyleSheet(warnings.isEmpty() ? QString() : QLatin1String(kErrorStyle));
}

void ScheduleEdit::copyFrom(const ScheduleEdit &other)
{
    QStringList e;
    QStringList w;
    fromStringList(other.toStringList(), e, w);
}

int ScheduleEdit::targetEdgeIndex() const
{
    return xrayDataBase().edgeIndexFor(ui.TargetCore->text(), ui.TargetElm->text());
}

double ScheduleEdit::targetEdgeEnergy() const
{
    return xrayDataBase().edgeEnergy(ui.TargetElm->text(), ui.TargetCore->text());
}

QString ScheduleEdit::elementSymbol() const
{
    const aAtom a = xrayDataBase().elementFor(ui.TargetElm->text());
    return a.z > 0 ? a.symbol : QString();
}

double ScheduleEdit::measTimeFor(const QString &text, int i)
{
    return EntryText::measTimeFor(text, i);
}

void ScheduleEdit::autoCrystal()
{
    const CrystalTable &crystals = crystalTable();
    if (crystals.count() == 0)
        return;
    const int row = crystals.rowForEnergy(targetEdgeEnergy());
    units().setD(crystals.at(row).d);
}

void ScheduleEdit::newTargetSelected()
{
    const double e = targetEdgeEnergy();
    quickBlocks->setOrigin(e);
    stepBlocks->setOrigin(e);
    if (ui.MonoCrystal->currentIndex() == 0)
        autoCrystal();
    // Absolute rows moved with the edge and angles depend on the crystal:
    // redisplay, and let each block's Delta follow its Points again.
    quickBlocks->setUnit(quickBlocks->unit);
    stepBlocks->setUnit(stepBlocks->unit);
}

void ScheduleEdit::newMonoCrystalSelected(int idx)
{
    if (idx >= 1 && idx - 1 < crystalTable().count())
        units().setD(crystalTable().at(idx - 1).d);
    else if (idx == 0)
        autoCrystal();
    // The angles depend on d.
    if (quickBlocks)
        quickBlocks->setUnit(quickBlocks->unit);
    if (stepBlocks)
        stepBlocks->setUnit(stepBlocks->unit);
}

void ScheduleEdit::newScanTypeSelected(int idx)
{
    if (idx == 1) {
        ui.MeasMode->setEnabled(true);
        quickBlockCount = ui.Blocks->value();
        newRequestedBlocks(stepBlockCount);
        quickTimes = ui.MeasTimes->text();
        ui.MeasTimes->setText(stepTimes);
    } else if (idx == 0) {
        selectRow(ui.MeasMode, 0);
        ui.MeasMode->setEnabled(false);
        stepBlockCount = ui.Blocks->value();
        newRequestedBlocks(1);
        stepTimes = ui.MeasTimes->text();
        ui.MeasTimes->setText(quickTimes);
    }
}

void ScheduleEdit::newMeasModeSelected(int idx)
{
    Q_UNUSED(idx);
}

void ScheduleEdit::newRequestedBlocks(int val)
{
    // Counts outside the spin box's range would show a negative number of
    // blocks or rows that do not exist: the entry keeps its count.
    if (val > ui.Blocks->maximum() || val < ui.Blocks->minimum())
        return;
    {
        const QSignalBlocker blocker(ui.Blocks);
        ui.Blocks->setValue(val);
    }
    const bool step = ui.ScanType->currentIndex() == 1;
    quickBlocks->setVisible(!step);
    stepBlocks->setVisible(step);
    quickBlocks->showBlocks(val);
    stepBlocks->showBlocks(val);
}

void ScheduleEdit::newBlockDefTypeSelected(int idx)
{
    switch (idx) {
    case 0:
        ui.BlockDefStdFrame->setEnabled(true);
        ui.BlockDefFileFrame->setVisible(false);
        ui.BlockDefUserFrame->setEnabled(false);
        break;
    case 1:
        ui.BlockDefStdFrame->setEnabled(false);
        ui.BlockDefFileFrame->setVisible(true);
        ui.BlockDefUserFrame->setEnabled(false);
        break;
    case 2:
        ui.BlockDefStdFrame->setEnabled(true);
        ui.BlockDefFileFrame->setVisible(false);
        ui.BlockDefUserFrame->setEnabled(true);
        break;
    default:
        break;
    }
}

void ScheduleEdit::newStdBlockTypeSelected(int idx)
{
    const QString m300 = QStringLiteral("R-300");
    const QString m40 = QStringLiteral("R-40");
    const QString p50 = QStringLiteral("R+50");
    const QString p500 = QStringLiteral("R+500");
    const QString p1100 = QStringLiteral("R+1100");
    switch (idx) {
    case 0:
        quickBlocks->setBlocks(1, {m300, p1100}, {}, {0.3});
        stepBlocks->setBlocks(4, {m300, m40, p50, p500, p1100}, {}, {6.5, 0.3, 2.5, 6.0});
        break;
    case 1:
        quickBlocks->setBlocks(1, {m300, p500}, {}, {0.3});
        stepBlocks->setBlocks(3, {m300, m40, p50, p500}, {}, {6.5, 0.3, 10.0});
        break;
    case 2:
        quickBlocks->setBlocks(1, {m300, p1100}, {}, {0.3});
        stepBlocks->setBlocks(4, {m300, m40, p50, p500, p1100}, {}, {6.5, 1.0, 2.5, 6.0});
        break;
    default:
        break;
    }
}

void ScheduleEdit::newBlockUnitSelected(int idx)
{
    if (idx < 0)
        return;
    quickBlocks->setUnit(idx);
    stepBlocks->setUnit(idx);
}

void ScheduleEdit::toRel()
{
    quickBlocks->setRelative(true);
    stepBlocks->setRelative(true);
}

void ScheduleEdit::toAbs()
{
    quickBlocks->setRelative(false);
    stepBlocks->setRelative(false);
}

QStringList ScheduleEdit::toStringList() const
{
    QStringList f;
    const int n = ui.Blocks->value();
    f.reserve(18 + 3 * n);
    f << ui.HolderNo->text() << ui.SampleId->text() << ui.Comment->text() << ui.RefSample->text()
      << ui.DataFile->text() << elementSymbol() << xrayDataBase().edgeName(targetEdgeIndex())
      << ui.MeasDark->currentText() << ui.Tuning->currentText() << ui.MonoCrystal->currentText()
      << ui.ScanType->currentText() << ui.MeasMode->currentText() << ui.BlockDefType->currentText()
      << ui.StdBlockType->currentText() << ui.BlockDefFile->text() << ui.MeasTimes->text()
      << QString::number(n) << ui.BlockUnit->currentText();
    const OneBlocks *set = activeBlocks();
    for (int i = 0; i < n; ++i) {
        const OneBlock *r = set->row(i);
        if (!r)
            break;
        f << r->startText() << r->pointsText() << r->deltaText();
    }
    return f;
}

bool ScheduleEdit::fromStringList(const QStringList &fields, QStringList &errs, QStringList &warns)
{
    const int size = int(fields.size());
    auto has = [size](int i) { return i < size; };
    auto at = [&fields, size](int i) { return i < size ? fields.at(i) : QString(); };

    // 1. holder and sample
    if (has(0))
        ui.HolderNo->setText(fields.at(0));
    if (has(1))
        ui.SampleId->setText(fields.at(1));
    if (at(0).isEmpty() && at(1).isEmpty())
        errs << tr("Holder No. or Sample ID must be specified.");

    // 2. texts
    if (has(2))
        ui.Comment->setText(fields.at(2));
    if (has(3))
        ui.RefSample->setText(fields.at(3));
    if (has(4))
        ui.DataFile->setText(fields.at(4));

    // 3., 4. target element and edge, then move the blocks to the new edge
    bool targetOk = false;
    if (has(5)) {
        const aAtom a = xrayDataBase().elementFor(fields.at(5));
        targetOk = a.z > 0;
        ui.TargetElm->setText(targetOk ? a.symbol : QString());
    }
    if (!targetOk)
        errs << tr("Target Element must be specified.");
    if (has(6))
        ui.TargetCore->setText(fields.at(6));
    // A program's setText() never finishes an edit: do what a finished edit
    // does, so that relative blocks and the crystal follow the new edge.
    newTargetSelected();

    // 5. selectors
    if (has(7))
        selectRow(ui.MeasDark, darkTable().rowOf(fields.at(7)));
    if (has(8))
        selectRow(ui.Tuning, tuneTable().rowOf(fields.at(8)));
    if (has(9)) {
        const int r = crystalTable().rowByName(fields.at(9));
        ui.MonoCrystal->setCurrentIndex(r >= 0 ? r + 1 : 0);
    }
    if (has(10))
        selectRow(ui.ScanType, scanTypeTable().rowOf(fields.at(10)));
    if (has(11))
        selectRow(ui.MeasMode, measModeTable().rowOf(fields.at(11)));
    if (has(12))
        selectRow(ui.BlockDefType, blkSetupTable().rowOf(fields.at(12)));
    if (has(13))
        selectRow(ui.StdBlockType, stdTypeTable().rowOf(fields.at(13)));

    // 6. file and times
    if (has(14))
        ui.BlockDefFile->setText(fields.at(14));
    if (has(15))
        ui.MeasTimes->setText(fields.at(15));

    // 7. block count (out-of-range counts are ignored)
    if (has(16))
        newRequestedBlocks(toIntOr0(fields.at(16)));

    // 8. unit by exact text
    if (has(17)) {
        const int u = ui.BlockUnit->findText(fields.at(17), Qt::MatchExactly);
        if (u >= 0)
            ui.BlockUnit->setCurrentIndex(u);
    }

    // 9. blocks of the active set. Every start is placed before any Points or
    // Delta is read: a block's values only mean something once both of its
    // ends are where the file says, otherwise Delta would be turned into
    // Points over a width the block does not have.
    OneBlocks *set = activeBlocks();
    const int n = ui.Blocks->value();
    int complete = 0; // blocks with all three fields
    for (int i = 0; i < n; ++i) {
        const int base = 18 + 3 * i;
        OneBlock *r = set->row(i);
        if (!r || !has(base))
            break;
        r->setStartTyped(fields.at(base));
        set->startPosUpdated(i);
        if (has(base + 2))
            complete = i + 1;
    }
    // The end of the last block is not stored; its Points and Delta say how
    // wide it was.
    if (complete == n && n > 0 && ui.BlockDefType->currentIndex() != 0)
        restoreLastBlockEnd(n - 1, toIntOr0(fields.at(18 + 3 * (n - 1) + 1)),
                            toDoubleOr0(fields.at(18 + 3 * (n - 1) + 2)));
    // Points are what the target measures: a block that has them keeps them
    // exactly and its Delta follows. Recomputing Points from a six-digit
    // Delta instead could lose a point (1.2 A / 100 read back as 99).
    // Only a block without Points takes them from its Delta.
    for (int i = 0; i < n; ++i) {
        const int base = 18 + 3 * i;
        OneBlock *r = set->row(i);
        if (!r || !has(base + 1))
            break;
        r->setPointsText(fields.at(base + 1));
        if (has(base + 2))
            r->setDeltaText(fields.at(base + 2));
        if (r->points() != 0)
            set->refreshDelta(i);
        else if (has(base + 2))
            set->deltaUpdated(i);
    }

    // 10. standard blocks replace what was read
    if (ui.BlockDefType->currentIndex() == 0)
        newStdBlockTypeSelected(ui.StdBlockType->currentIndex());

    // 11. result
    setErrorsAndWarnings(errs, warns);
    return errors.isEmpty();
}

void ScheduleEdit::restoreLastBlockEnd(int i, int points, double delta)
{
    OneBlocks *set = activeBlocks();
    OneBlock *start = set->row(i);
    OneBlock *end = set->row(i + 1);
    if (!start || !end || points <= 0 || delta == 0)
        return;
    const double s = fromEV(start->pos, set->unit);
    const double e = toEV(s + points * delta, set->unit);
    if (!std::isfinite(e) || (set->unit == 3 && s == -1))
        return;
    end->pos = e;
    end->isRel = start->isRel;
    end->showNode();
}
