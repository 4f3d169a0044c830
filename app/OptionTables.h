// SPDX-License-Identifier: GPL-3.0-or-later
// The measurement option tables: the beamline's choices a schedule entry can
// make (crystals, dark, tune, scan type, measurement mode, block set-up,
// standard block types) and the mode-range tables the execution engine checks
// when the energy moves. buildOptionTables() fills the process-wide tables once
// at start-up from the configuration store; afterwards they are read-only and
// reached through one accessor each (crystalTable(), darkTable(), ...).
//
// Readers must cope with empty tables and with a default index that has no
// row: rowAt()/isValidRow() never let a caller read past the end.
#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

class ConfigStore;

struct CrystalRow
{
    QString name;
    double d = 0;
    double eMin = 0;
    double eMax = 0;
    QStringList aliases; // further items of the line, then name itself
};

class CrystalTable
{
public:
    void build(const QStringList &rests); // replaces the content
    int count() const { return int(m_rows.size()); }
    const CrystalRow &at(int i) const { return m_rows.at(i); }
    // Index of the first row naming text among its aliases (case-sensitive), or -1.
    int rowByName(const QString &text) const;
    // First row with eMin < e <= eMax; 0 when none.
    int rowForEnergy(double e) const;
    double maxEnergy() const { return m_maxEnergy; }
    // One line per crystal row whose spacing or energies do not read as
    // numbers (they count as 0), for the operator's log.
    const QStringList &diagnostics() const { return m_diagnostics; }
    void clear();

private:
    QVector<CrystalRow> m_rows;
    QStringList m_diagnostics;
    double m_maxEnergy = 0;
};

class SelectionTable
{
public:
    void build(const QStringList &rests); // replaces the content
    int rowCount() const { return int(m_labels.size()); }
    QString label(int i) const
    {
        return i >= 0 && i < m_labels.size() ? m_labels.at(i) : QString();
    }
    const QStringList &labels() const { return m_labels; }
    const QVector<QStringList> &items() const { return m_items; }
    // Index of the first row whose items contain text.toUpper(); 0 and
    // *found = false when none.
    int rowOf(const QString &text, bool *found = nullptr) const;
    void clear();

private:
    QStringList m_labels;
    QVector<QStringList> m_items;
};

struct MeasModeRow
{
    int detection = 0; // 0 transmission, 1 fluorescence
    int code = 0;
};

class MeasModeMap
{
public:
    void build(const QStringList &rests); // replaces the content
    int count() const { return int(m_rows.size()); }
    const MeasModeRow &at(int i) const { return m_rows.at(i); }
    // Code of the first row with this detection; 0 when none.
    int codeFor(int detection) const;
    static int detectionOf(const QString &word);

private:
    QVector<MeasModeRow> m_rows;
};

struct ModeRange
{
    int mode = 0;
    double low = 0;
    double high = 0;
};

class ModeRangeTable
{
public:
    void build(const QStringList &rests, const QString &defaultText);
    int count() const { return int(m_ranges.size()); }
    bool isValidRow(int i) const { return i >= 0 && i < m_ranges.size(); }
    // The row at i, or nullptr when there is none (a default index outside
    // the table is allowed by the configuration, reading it is not).
    const ModeRange *rowAt(int i) const { return isValidRow(i) ? &m_ranges.at(i) : nullptr; }
    int defaultIndex() const { return m_defaultIndex; }
    // Position of the first row with low <= e <= high; defaultIndex() when none.
    int indexForEnergy(double e) const;
    void clear();

private:
    QVector<ModeRange> m_ranges;
    int m_defaultIndex = 0;
};

// The positions the sample changer takes, from HOLDER_RANGE min max. Absent
// by default: the holder is then text the target makes sense of.
struct HolderRange
{
    bool set = false;
    int min = 0;
    int max = 0;

    bool contains(int v) const { return v >= min && v <= max; }
    // The last HOLDER_RANGE line of the store. A value that is not two
    // integers, the lower first, leaves the range unset and says why in
    // *problem.
    static HolderRange fromConfig(const ConfigStore &store, QString *problem = nullptr);
};

// Builds every table from the store, in start-up order. Returns what the
// operator should know about rows that do not read (see the tables'
// diagnostics()).
QStringList buildOptionTables(const ConfigStore &store);

CrystalTable &crystalTable();
SelectionTable &darkTable();
SelectionTable &tuneTable();
SelectionTable &scanTypeTable();
SelectionTable &measModeTable();
SelectionTable &blkSetupTable();
SelectionTable &stdTypeTable();
MeasModeMap &qMeasModeMap();
MeasModeMap &sMeasModeMap();
ModeRangeTable &hocModeTable();
ModeRangeTable &monoModeTable();
HolderRange &holderRange();

// Scan-type row 0 (quick) asks Q_MEAS_MODE, row 1 (step) S_MEAS_MODE; any
// other row gives 0.
int measModeCodeFor(int scanTypeRow, int detection);
