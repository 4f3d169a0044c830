// SPDX-License-Identifier: GPL-3.0-or-later
// One schedule entry as a value: everything a schedule line holds, typed, and
// the rules that tie its values together while it is edited.
//
// How the pieces fit: an Entry holds two block sets (BlockSet, one per scan
// type; the active one is chosen by the scan type) and the entry's own
// lattice spacing, which every angle of its blocks is converted with. The
// editor (ScheduleEdit) shows one Entry and calls the editing operations below
// when the operator changes a field; the codec (EntryCodec.h) turns the
// fields of a schedule line into an Entry and back; the schedule file
// (ScheduleFile.h) reads and writes lists of entries; the execution engine and
// the dry run read entries to build the commands. Nothing here needs a widget
// or a QApplication: a schedule can be read, checked and planned headless.
//
// The option tables and the X-ray database (process-wide, built once at
// start-up and never changed afterwards) give the meaning of the row indexes
// and the edge energies.
#pragma once

#include "Units.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

struct aAtom;

// One energy-block row: the start of a block (and the end of the one before).
struct BlockRow
{
    double pos = 0;     // start, absolute, eV
    bool isRel = false; // shown relative to the edge energy
    QString pointsText;
    QString deltaText;

    // Points as a base-10 integer, 0 when it is not one.
    int points() const;
    // Delta as a number, 0 when it is not one.
    double delta() const;

    bool operator==(const BlockRow &o) const
    {
        return pos == o.pos && isRel == o.isRel && pointsText == o.pointsText &&
               deltaText == o.deltaText;
    }
};

// The block rows of one scan (quick or step) and the coupling of their values.
// A set has maxBlocks + 1 rows; with n blocks shown, block i runs from row i's
// start to row i + 1's start, so row n is the end row. Changing a start,
// Points or Delta recomputes the neighbouring values as the operator expects.
class BlockSet
{
public:
    static constexpr int maxBlocks = 10;

    BlockSet();

    int rowCount() const { return int(m_rows.size()); }
    // Row i; an empty row for an index outside the set.
    const BlockRow &row(int i) const;
    int shown() const { return m_shown; }
    int unit() const { return m_unit; }
    double origin() const { return m_origin; }
    double latticeSpacing() const { return m_d; }

    // Start of row i in the set's display unit (what the target is sent).
    double displayValue(int i) const;
    // Start of row i as shown: in the display unit, "R" and the offset when
    // the row is relative.
    QString startText(int i) const;
    // Width of block i in the display unit; 0 for a block that is not shown.
    double width(int i) const;

    // Shows n blocks (rows 0 ... n). A count outside 0 ... maxBlocks is ignored.
    void showBlocks(int n);
    // Display unit of every row; each shown block's Delta follows, its Points
    // stay (they are what the target measures).
    void setUnit(int u);
    // Spacing of the entry's crystal; call setUnit(unit()) afterwards to let
    // the Deltas follow.
    void setLatticeSpacing(double d) { m_d = d; }
    // starts in eV, absolute or "R"-relative; points and deltas may be shorter
    // than n (or empty), the remaining rows keep their values.
    void setBlocks(int n, const QStringList &starts, const QList<int> &points,
                   const QList<double> &deltas);
    // The edge energy moved: every row moves with it.
    void setOrigin(double e);
    void setRelative(bool f);
    // Delta of block i shown again from its Points and width; Points stays.
    void refreshDelta(int i);
    void startPosUpdated(int i);
    void pointsUpdated(int i);
    void deltaUpdated(int i);

    // A field as the operator finished typing it: the neighbours follow.
    void editStart(int i, const QString &text);
    void editPoints(int i, const QString &text);
    void editDelta(int i, const QString &text);
    // The same, doing nothing when the text is the one shown.
    void typeStart(int i, const QString &text);
    // Texts set without any recomputation.
    void setPointsText(int i, const QString &text);
    void setDeltaText(int i, const QString &text);
    // A start in eV ("R" + offset from the edge, or absolute); no recomputation.
    void setStartText(int i, const QString &text);
    void setPos(int i, double pos, bool isRel);

    bool operator==(const BlockSet &o) const
    {
        return m_rows == o.m_rows && m_shown == o.m_shown && m_unit == o.m_unit &&
               m_origin == o.m_origin && m_d == o.m_d;
    }

private:
    bool has(int i) const { return i >= 0 && i < m_rows.size(); }
    void setPoints(int i, int n);
    void setDelta(int i, double d);
    void noticedNewStartPos(int i);

    QVector<BlockRow> m_rows;
    int m_shown = 0;
    int m_unit = Units::EV;
    double m_origin = 0; // edge energy, eV
    double m_d = Units::defaultD;
};

// The scan types, detection modes and block definitions an entry can name, by
// row of their option tables.
namespace EntryRows {
enum ScanType { QuickScan = 0, StepScan = 1 };
enum BlockDef { StandardBlocks = 0, FileBlocks = 1, UserBlocks = 2 };
} // namespace EntryRows

// The columns of a schedule line (EntryCodec.h) that name a choice.
namespace EntryColumns {
enum Column {
    Element = 5,
    Edge = 6,
    MeasDark = 7,
    Tuning = 8,
    Crystal = 9,
    ScanType = 10,
    MeasMode = 11,
    BlockDef = 12,
    StdType = 13,
    BlockUnit = 17
};
} // namespace EntryColumns

struct Entry
{
    bool exec = true; // run this entry
    // A new entry is a copper reference, as the editor's form first shows it.
    QString holder; // HolderNo
    QString sampleId = QStringLiteral("S001");
    QString comment = QStringLiteral("Cu Reference");
    QString refSample;
    QString dataFile = QStringLiteral("Cu-0001.dat");
    QString targetElm = QStringLiteral("Cu"); // element symbol or atomic number, as typed
    QString targetCore;                       // edge name, as typed
    int measDark = 0;                         // rows of the DARK, TUNE ... tables
    int tuning = 0;
    int crystal = -1; // row of the crystal table; -1 chooses by the edge energy
    int scanType = EntryRows::QuickScan;
    int measMode = 0;
    int blockDefType = EntryRows::StandardBlocks;
    int stdBlockType = 0;
    QString blockDefFile = QStringLiteral("MyBlock.prm");
    QString measTimes = QStringLiteral("1,1,1,1");
    int blocks = 4; // 1 ... BlockSet::maxBlocks
    int blockUnit = Units::EV;
    BlockSet quickBlocks;
    BlockSet stepBlocks;
    // What the scan type not shown had when it was left.
    int stepBlockCount = 4;
    int quickBlockCount = 1;
    QString stepTimes = QStringLiteral("1,1,1,1");
    QString quickTimes = QStringLiteral("300");

    // Choices read from a schedule line that name nothing the option tables
    // offer, by column (EntryColumns), as read. The entry stands on the row
    // such a line always got (the first, or the automatic crystal), but it
    // is written back with the text it was read with, and it is an error,
    // until the operator picks that field again: a typing slip in a file
    // must neither run as something else nor be lost when the file is saved.
    QMap<int, QString> unknownChoices;

    QStringList errors;
    QStringList warnings;

    // A new entry as the editor first shows it.
    static Entry defaults();

    // Every field alike, findings included: the schedule model tells a real
    // edit from the same value shown again.
    bool operator==(const Entry &o) const;
    bool operator!=(const Entry &o) const { return !(*this == o); }

    const BlockSet &activeBlocks() const;
    BlockSet &activeBlocks();

    aAtom element() const;
    // Atomic number; 0 or -1 when the element is unknown.
    int z() const;
    // Symbol of a known element, empty otherwise.
    QString elementSymbol() const;
    int edgeIndex() const;
    double edgeEnergy() const; // eV
    // The crystal used: the selected row, or the one chosen for the edge
    // energy; -1 when the crystal table is empty or the row does not exist.
    int crystalRow() const;
    double latticeSpacing() const { return quickBlocks.latticeSpacing(); }
    // Start of the first block of the active set, in eV whatever unit it is
    // shown in.
    double startEnergy() const { return activeBlocks().row(0).pos; }
    // Dwell time of block i from measTimes.
    double timeFor(int i) const;
    // Blocks of the standard set of stdType for a scan type; 0 for a type
    // that has no standard set.
    static int standardBlockCount(int scanType, int stdType);

    // Editing operations, each what the editor does when its field changes.
    void updateTarget();
    void selectCrystal(int row);
    void selectScanType(int idx);
    void selectBlockDefType(int idx);
    void requestBlocks(int n);
    void selectStdBlockType(int idx);
    void selectBlockUnit(int u);
    void setRelative(bool f);

private:
    void applyCrystal();
    // Standard blocks are the target's own: the count shown is the one
    // the target measures, whatever count the entry had before.
    void followStandardCount();
};
