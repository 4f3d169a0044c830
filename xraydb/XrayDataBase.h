// SPDX-License-Identifier: GPL-3.0-or-later
// X-ray reference data.
//
// XrayDataBase holds the element table compiled into the program as the
// resource :XrayDataBase2.txt. main() loads it once with load(); afterwards it
// is read-only and the schedule editor and the execution engine reach it
// through xrayDataBase() and the look-ups below (element by symbol or number,
// edge index, automatic edge, edge energy in eV). Energies inside the
// database are in keV; everything the look-ups return is in eV.
// Units (Units.h) holds the lattice spacing and the display-unit conversions.
//
// The table is comma-separated text. Symbol, number, weight, the five edges
// (K, L1, L2, L3, M1 with two coefficients each) and seven line energies sit
// in fixed columns; the tag row ("#,IDLINE,...") names further columns by tag
// (AE-edge, w-edge, E-shell-line, Rate-shell-line) that fill edges, yields
// and lines. Comment and tag rows leave an empty placeholder element under
// symbol "" and number 0, which look-ups of unknown targets return.
// tools/xraydb/make_xraydb.py regenerates resources/XrayDataBase2.txt from
// published tables; the build only compiles the committed file in.
#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

class QIODevice;

struct Edge
{
    QString name;       // "K", "L1", ...; empty when absent
    double energy = -1; // keV
    QString label;      // "Fe K"
};

struct FluoYield
{
    QString name;
    double value = -1;
};

struct EmissionLine
{
    QString name;      // "Ka1"
    QString shell;     // "K"
    double energy = 0; // keV
    double rate = 0;
};

struct aAtom
{
    QString symbol;
    int z = -1;
    double weight = -1;
    double edgeE[5] = {-1, -1, -1, -1, -1}; // K, L1, L2, L3, M1 by fixed column, keV
    double c[5] = {-1, -1, -1, -1, -1};
    double d[5] = {-1, -1, -1, -1, -1};
    double lineE[7] = {-1, -1, -1, -1, -1, -1, -1}; // Ka2 Ka1 Kb La2 La1 Lb1 Lb2, keV
    Edge edges[5];
    FluoYield yields[5];
    QList<EmissionLine> lines[5];
};

class XrayDataBase
{
public:
    // Loads the table. Returns false when the file cannot be opened (the
    // caller decides what that means; start-up ends the process with status 1).
    bool load(const QString &path);
    // Reads a table from an open device (what load() does once the file is
    // open), starting from an empty table.
    void loadFrom(QIODevice &device);
    // Forgets every element; the edge names stay.
    void clear();
    // Diagnostics of the last load(), as written to the debug channel.
    const QStringList &diagnostics() const { return m_diagnostics; }

    const QMap<QString, aAtom> &bySymbol() const { return m_bySymbol; }
    const QMap<int, aAtom> &byZ() const { return m_byZ; }
    const QStringList &edgeNames() const { return m_edgeNames; }

    aAtom elementFor(const QString &target) const;
    aAtom elementByZ(int z) const;
    int zFor(const QString &target) const;
    QString edgeName(int i) const;
    int edgeIndexFor(const QString &edge, const QString &target) const;
    int autoEdge(const QString &target) const;
    // Absorption-edge energy in eV; -1000 when the edge is absent.
    double edgeEnergy(const QString &target, const QString &edge) const;

private:
    void diagnose(const QString &text);

    QMap<QString, aAtom> m_bySymbol;
    QMap<int, aAtom> m_byZ;
    // Position in this list = edge index used everywhere.
    QStringList m_edgeNames{QStringLiteral("K"), QStringLiteral("L1"), QStringLiteral("L2"),
                            QStringLiteral("L3")};
    QStringList m_diagnostics;
};

// The loader's number reader: the same result as toDoubleOr0() (text that is
// not a finite number gives 0), quicker on the plain decimals of the table.
double readNumberOr0(QStringView text);

// The process-wide database.
XrayDataBase &xrayDataBase();

// The compiled-in table; main() ends with status 1 when it cannot be opened.
inline constexpr const char *kXrayDataBase = ":XrayDataBase2.txt";
