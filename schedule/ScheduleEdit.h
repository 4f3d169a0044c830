// SPDX-License-Identifier: GPL-3.0-or-later
// The editor of one schedule entry.
//
// It shows one Entry (Entry.h) and edits it: each field the operator changes
// updates the entry through the entry's own editing operations, and the form
// shows the result (blocks whose neighbours moved, the scan's remembered
// count and times). The entry value is the record; the widgets only show it.
// entry() gives a copy for whoever needs the values (the schedule file, the
// execution engine, the dry run); entryChanged() says that it changed.
//
// How the pieces fit: the form (forms/ScheduleEdit.ui) holds every field by
// its object name; two OneBlocks (OneBlocks.h) show the quick and the step
// block sets, one at a time by scan type. Block-definition files are chosen,
// written and read by the slots at the end (ScheduleEditBlockFile.cpp,
// BlockFile.h). The main window creates, copies and deletes editors and
// handles the four list-editing signals.
#pragma once

#include "Entry.h"

#include <QFrame>
#include <QString>
#include <QStringList>

#include "ui_ScheduleEdit.h"

class OneBlocks;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QMessageBox;
class FileSelectDialog;

class ScheduleEdit : public QFrame
{
    Q_OBJECT
public:
    explicit ScheduleEdit(QWidget *parent = nullptr);
    explicit ScheduleEdit(const Entry &entry, QWidget *parent = nullptr);
    ~ScheduleEdit() override;

    const Entry &entry() const { return m_entry; }
    void setEntry(const Entry &entry);

    // The fields as the operator uses them, for whoever acts in the
    // operator's place (the editor's and the main window's tests).
    //
    // The drop-down of a choice column; nullptr for the element and the edge,
    // which are typed.
    QComboBox *selector(EntryColumns::Column column) const;
    QSpinBox *blocksField() const;
    QLineEdit *sampleIdField() const;
    QLineEdit *targetField() const;
    // E.: marked while the entry has errors.
    QPushButton *errorsButton() const;
    // W.: marked while the entry has warnings.
    QPushButton *warningsButton() const;
    // The list-editing buttons on the entry, in the order of insertUp(),
    // insertDown(), copy() and cut().
    enum class ListButton { InsertUp, InsertDown, Copy, Cut };
    QPushButton *listButton(ListButton b) const;
    // Show every block start relative to the edge, or as absolute energies.
    QPushButton *relativeButton() const;
    QPushButton *absoluteButton() const;

    OneBlocks *quickBlocks = nullptr;
    OneBlocks *stepBlocks = nullptr;

    // The number shown beside the entry.
    void setNumber(int n);
    // The entry's estimate as the overview shows it (the run's one estimate,
    // which knows the entry above and the journal).
    void setEstimate(const QString &text);

    // The run's mark on the entry: its background colour. A palette, not a
    // style sheet: a style sheet on the entry would be polished into every one
    // of its widgets, and a night's run marks hundreds of entries.
    enum class Mark { None, Running, Finished, Error };
    void setMark(Mark mark);
    Mark mark() const { return m_mark; }
    // The entry's outcome of the run in words, under its number (empty: none);
    // detail, why it failed, as the tool tip.
    void setStatus(const QString &text, const QString &detail = QString());
    QString statusText() const;

    // Field texts in the column order of the schedule file.
    QStringList toStringList() const;
    // Sets the fields from a list in that order; returns true when no error
    // was found. Errors are appended to errors; warnings are kept as given.
    bool fromStringList(const QStringList &fields, QStringList &errors, QStringList &warnings);
    void setErrorsAndWarnings(const QStringList &errors, const QStringList &warnings);
    // Warnings that concern this entry and others (EntryCheck::checkSchedule),
    // shown with the entry's own; the main window keeps them current.
    void setScheduleWarnings(const QStringList &warnings);
    void copyFrom(const ScheduleEdit &other);

    int targetEdgeIndex() const { return m_entry.edgeIndex(); }
    double targetEdgeEnergy() const { return m_entry.edgeEnergy(); }
    QString elementSymbol() const { return m_entry.elementSymbol(); }
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

    bool savingBlockFile = false;

signals:
    void insertUp();
    void insertDown();
    void copy();
    void cut();
    // The entry's values changed (an edit, a load, a block file).
    void entryChanged();

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
    // 9809 files are recognised and left to the target's own tools.
    void readBlockFrom9809(const QString &fname);

private:
    Ui::ScheduleEdit ui;
    void build();
    void connectText(QLineEdit *field, QString Entry::*member);
    // Shows the whole entry; the widgets' change signals are ignored meanwhile.
    void showEntry();
    void showBlockDefType();
    // Errors and warnings on the E./W. buttons, and the estimate.
    void showFindings();
    // An edit: the entry is checked again, shown and announced.
    void changed();
    // The same for an edit that needs no other field shown again.
    void noteEdit();
    // Entries handed over (loaded, pasted): the fresh check joins the
    // findings they came with.
    void takeFindings();
    void showProblem(const QString &text);

    Entry m_entry;
    Mark m_mark = Mark::None;
    QStringList m_scheduleWarnings;
    QLabel *m_status = nullptr;
    bool m_showing = false;
    QMessageBox *m_errorBox = nullptr;
    QMessageBox *m_warningBox = nullptr;
    QMessageBox *m_problemBox = nullptr;
    FileSelectDialog *m_blockFileDialog = nullptr;
};
