// One schedule entry: the operator's editor and, at the same time, the record
// that the execution engine and the schedule file read. There is no separate
// data record: the widgets hold the values.
//
// How the pieces fit: the entry owns two block sets (quickBlocks, stepBlocks,
// OneBlocks.h), one per scan type, and shows the active one; its form
// (forms/ScheduleEdit.ui) holds every field. Block-definition files (.prm) are
// written and read by the slots at the end (ScheduleEditBlockFile.cpp); the
// schedule file (Csv.h) turns entries into lines with toStringList() and back
// with fromStringList(). The main window creates, copies and deletes entries
// and handles the four list-editing signals.
//
// What other subsystems read (all in the GUI thread): the public form `ui`
// with the fields by object name (ui.Exec, ui.HolderNo, ui.SampleId,
// ui.TargetElm, ui.TargetCore, ui.DataFile, ui.Comment, ui.RefSample,
// ui.ScanType, ui.MeasMode, ui.MonoCrystal, ui.MeasDark, ui.Tuning,
// ui.BlockDefType, ui.StdBlockType, ui.BlockDefFile, ui.MeasTimes, ui.Blocks,
// ui.BlockUnit); activeBlocks() (stepBlocks when ScanType is row 1, else
// quickBlocks), whose row(i) for i = 0 ... ui.Blocks->value() gives a OneBlock
// with `pos` (start in eV), `unit`, displayValue() (start in its unit),
// points() (Points as an integer), pointsText() and deltaText(); row(Blocks)
// is the end of the last block. targetEdgeIndex(), targetEdgeEnergy() (eV),
// elementSymbol(), measTimeFor(MeasTimes text, i), loadBlockFile(path),
// toStringList(), fromStringList(), copyFrom(), errors and warnings.
#pragma once

#include <QFrame>
#include <QString>
#include <QStringList>

#include "ui_ScheduleEdit.h"

class OneBlocks;
class QMessageBox;
class FileSelectDialog;

class ScheduleEdit : public QFrame
{
    Q_OBJECT
public:
    explicit ScheduleEdit(QWidget *parent = nullptr);
    ~ScheduleEdit() override;

    Ui::ScheduleEdit ui;
    OneBlocks *quickBlocks = nullptr;
    OneBlocks *stepBlocks = nullptr;

    // stepBlocks when ScanType is row 1, quickBlocks otherwise.
    OneBlocks *activeBlocks() const;

    // Field texts in the column order of the schedule file.
    QStringList toStringList() const;
    // Sets the fields from a list in that order; returns true when no error
    // was found. Errors are appended to errors; warnings are kept as given.
    bool fromStringList(const QStringList &fields, QStringList &errors, QStringList &warnings);
    void setErrorsAndWarnings(const QStringList &errors, const QStringList &warnings);
    void copyFrom(const ScheduleEdit &other);
    void copyFrom(const ScheduleEdit *other)
    {
        if (other)
            copyFrom(*other);
    }

    int targetEdgeIndex() const;
    double targetEdgeEnergy() const;
    QString elementSymbol() const;
    static double measTimeFor(const QString &text, int i);
    // 0: readable, not a 9809 file; 1: readable 9809 file; 2: cannot be opened.
    static int is9809(const QString &fname);

    // The boxes and the dialog are made when first needed: most entries never
    // open them.
    QMessageBox *errorBox();
    QMessageBox *warningBox();
    FileSelectDialog *blockFileDialog();
    QString errorText() const;
    QString warningText() const;

    QStringList errors;
    QStringList warnings;
    int stepBlockCount = 4;
    int quickBlockCount = 1;
    QString stepTimes = QStringLiteral("1,1,1,1");
    QString quickTimes = QStringLiteral("300");
    bool savingBlockFile = false;

signals:
    void insertUp();
    void insertDown();
    void copy();
    void cut();

public slots:
    void newTargetSelected();
    void newMonoCrystalSelected(int idx);
    void newScanTypeSelected(int idx);
    void newMeasModeSelected(int idx);
    void newRequestedBlocks(int val);
    void newBlockDefTypeSelected(int idx);
    void newStdBlockTypeSelected(int idx);
    void newBlockUnitSelected(int idx);
    void toRel();
    void toAbs();
    void selectBlockDefFile();
    void saveBlockDefFile();
    void blockFileSelected(const QString &fname);
    void saveBlockFile(const QString &fname);
    void loadBlockFile(const QString &fname);
    void readBlockFromNormal(const QString &fname);
    void readBlockFrom9809(const QString &fname);

private:
    void autoCrystal();
    void restoreLastBlockEnd(int lastBlock, int points, double delta);

    QMessageBox *m_errorBox = nullptr;
    QMessageBox *m_warningBox = nullptr;
    FileSelectDialog *m_blockFileDialog = nullptr;
};
