// SPDX-License-Identifier: GPL-3.0-or-later
#include "OptionTables.h"

#include "ConfigStore.h"

#include <QCoreApplication>

#include <cmath>

#include <utility>

namespace {

// Texts of the OptionTables context in the catalogue.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(OptionTables)
};

bool readsAsNumber(const QString &text)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(v);
}

QStringList allItems(const QString &rest)
{
    QStringList items;
    QString remainder = rest;
    while (!remainder.trimmed().isEmpty()) {
        QString next;
        items << takeItem(remainder, &next);
        remainder = next;
    }
    return items;
}

// Takes exactly n items; missing ones read as empty text. Returns the remainder.
QStringList takeItems(const QString &rest, int n, QString *remainder = nullptr)
{
    QStringList items;
    QString r = rest;
    for (int i = 0; i < n; ++i) {
        QString next;
        items << takeItem(r, &next);
        r = next;
    }
    if (remainder)
        *remainder = r;
    return items;
}

} // namespace

void CrystalTable::build(const QStringList &rests)
{
    clear();
    for (const QString &rest : rests) {
        QString remainder;
        const QStringList f = takeItems(rest, 4, &remainder);
        CrystalRow row;
        row.name = f.at(0);
        row.d = toDoubleOr0(f.at(1));
        row.eMin = toDoubleOr0(f.at(2));
        row.eMax = toDoubleOr0(f.at(3));
        row.aliases = allItems(remainder);
        row.aliases << row.name;
        // A spacing of 0 makes every angle of the crystal meaningless: say so
        // at start-up rather than letting entries go wrong one by one.
        if (!readsAsNumber(f.at(1)) || !readsAsNumber(f.at(2)) || !readsAsNumber(f.at(3))) {
            m_diagnostics << Tr::tr(
                                 "Crystal %1: the lattice spacing and the energy range must be "
                                 "numbers (read: [%2] [%3] [%4]); what does not read counts as 0.")
                                 .arg(row.name, f.at(1), f.at(2), f.at(3));
        }
        if (row.eMax > m_maxEnergy)
            m_maxEnergy = row.eMax;
        m_rows.append(row);
    }
}

int CrystalTable::rowByName(const QString &text) const
{
    for (int i = 0; i < m_rows.size(); ++i) {
        if (m_rows.at(i).aliases.contains(text))
            return i;
    }
    return -1;
}

int CrystalTable::rowForEnergy(double e) const
{
    for (int i = 0; i < m_rows.size(); ++i) {
        if (m_rows.at(i).eMin < e && e <= m_rows.at(i).eMax)
            return i;
    }
    return 0;
}

void CrystalTable::clear()
{
    m_rows.clear();
    m_diagnostics.clear();
    m_maxEnergy = 0;
}

void SelectionTable::build(const QStringList &rests)
{
    clear();
    for (const QString &rest : rests) {
        const QStringList items = allItems(rest);
        m_labels << (items.isEmpty() ? QString() : items.first());
        QStringList upper;
        for (const QString &item : items)
            upper << item.toUpper();
        m_items.append(upper);
    }
}

int SelectionTable::rowOf(const QString &text, bool *found) const
{
    const QString upper = text.toUpper();
    for (int i = 0; i < m_items.size(); ++i) {
        if (m_items.at(i).contains(upper)) {
            if (found)
                *found = true;
            return i;
        }
    }
    if (found)
        *found = false;
    return 0;
}

void SelectionTable::clear()
{
    m_labels.clear();
    m_items.clear();
}

int MeasModeMap::detectionOf(const QString &word)
{
    if (word == QLatin1String("F") || word == QLatin1String("Fluo") || word == QLatin1String("1"))
        return 1;
    return 0;
}

void MeasModeMap::build(const QStringList &rests)
{
    m_rows.clear();
    for (const QString &rest : rests) {
        const QStringList f = takeItems(rest, 2);
        m_rows.append({detectionOf(f.at(0)), toIntOr0(f.at(1))});
    }
}

int MeasModeMap::codeFor(int detection) const
{
    for (const MeasModeRow &row : m_rows) {
        if (row.detection == detection)
            return row.code;
    }
    return 0;
}

void ModeRangeTable::build(const QStringList &rests, const QString &defaultText)
{
    clear();
    for (const QString &rest : rests) {
        const QStringList f = takeItems(rest, 3);
        ModeRange r{toIntOr0(f.at(0)), toDoubleOr0(f.at(1)), toDoubleOr0(f.at(2))};
        if (r.low > r.high)
            std::swap(r.low, r.high);
        m_ranges.append(r);
    }
    m_defaultIndex = toIntOr0(defaultText);
}

int ModeRangeTable::indexForEnergy(double e) const
{
    for (int i = 0; i < m_ranges.size(); ++i) {
        if (m_ranges.at(i).low <= e && e <= m_ranges.at(i).high)
            return i;
    }
    return m_defaultIndex;
}

void ModeRangeTable::clear()
{
    m_ranges.clear();
    m_defaultIndex = 0;
}

HolderRange HolderRange::fromConfig(const ConfigStore &store, QString *problem)
{
    HolderRange r;
    const QStringList rests = store.allRests(QStringLiteral("HOLDER_RANGE"));
    if (rests.isEmpty())
        return r;
    const QStringList items = allItems(rests.last());
    bool minOk = false;
    bool maxOk = false;
    if (items.size() == 2) {
        r.min = items.at(0).toInt(&minOk, 10);
        r.max = items.at(1).toInt(&maxOk, 10);
    }
    // A range that does not read must not turn into 0 to 0 and refuse every
    // holder: it is ignored, and the operator told at start-up.
    if (!minOk || !maxOk || r.min > r.max) {
        if (problem)
            *problem = Tr::tr("HOLDER_RANGE [%1] is not two whole numbers, the lowest position "
                              "first; the key is ignored.")
                           .arg(rests.last().trimmed());
        return HolderRange();
    }
    r.set = true;
    return r;
}

#define SKEDRA_TABLE_ACCESSOR(Type, name)                                                          \
    Type &name()                                                                                   \
    {                                                                                              \
        static Type table;                                                                         \
        return table;                                                                              \
    }

SKEDRA_TABLE_ACCESSOR(CrystalTable, crystalTable)
SKEDRA_TABLE_ACCESSOR(SelectionTable, darkTable)
SKEDRA_TABLE_ACCESSOR(SelectionTable, tuneTable)
SKEDRA_TABLE_ACCESSOR(SelectionTable, scanTypeTable)
SKEDRA_TABLE_ACCESSOR(SelectionTable, measModeTable)
SKEDRA_TABLE_ACCESSOR(SelectionTable, blkSetupTable)
SKEDRA_TABLE_ACCESSOR(SelectionTable, stdTypeTable)
SKEDRA_TABLE_ACCESSOR(MeasModeMap, qMeasModeMap)
SKEDRA_TABLE_ACCESSOR(MeasModeMap, sMeasModeMap)
SKEDRA_TABLE_ACCESSOR(ModeRangeTable, hocModeTable)
SKEDRA_TABLE_ACCESSOR(ModeRangeTable, monoModeTable)
SKEDRA_TABLE_ACCESSOR(HolderRange, holderRange)

#undef SKEDRA_TABLE_ACCESSOR

int measModeCodeFor(int scanTypeRow, int detection)
{
    if (scanTypeRow == 0)
        return qMeasModeMap().codeFor(detection);
    if (scanTypeRow == 1)
        return sMeasModeMap().codeFor(detection);
    return 0;
}

QStringList buildOptionTables(const ConfigStore &store)
{
    crystalTable().build(store.allRests(QStringLiteral("Crystal")));
    darkTable().build(store.allRests(QStringLiteral("DARK")));
    tuneTable().build(store.allRests(QStringLiteral("TUNE")));
    scanTypeTable().build(store.allRests(QStringLiteral("SCAN_TYPE")));
    measModeTable().build(store.allRests(QStringLiteral("MEAS_MODE")));
    blkSetupTable().build(store.allRests(QStringLiteral("BLK_SETUP")));
    stdTypeTable().build(store.allRests(QStringLiteral("STD_TYPE")));
    qMeasModeMap().build(store.allRests(QStringLiteral("Q_MEAS_MODE")));
    sMeasModeMap().build(store.allRests(QStringLiteral("S_MEAS_MODE")));
    hocModeTable().build(store.allRests(QStringLiteral("HOCMode")),
                         store.valueNoCase(QStringLiteral("DefaultHOCMode"), QStringLiteral("0")));
    monoModeTable().build(
        store.allRests(QStringLiteral("MonoMode")),
        store.valueNoCase(QStringLiteral("DefaultMonoMode"), QStringLiteral("0")));
    QStringList diagnostics = crystalTable().diagnostics();
    QString problem;
    holderRange() = HolderRange::fromConfig(store, &problem);
    if (!problem.isEmpty())
        diagnostics << problem;
    return diagnostics;
}
