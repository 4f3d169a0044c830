// SPDX-License-Identifier: GPL-3.0-or-later
#include "XrayDataBase.h"

#include "ConfigStore.h"
#include "OptionTables.h"

#include <QDebug>
#include <QFile>
#include <QTextStream>

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

// Field indexes of the columns read by position, whatever the tag row says.
constexpr int kSymbolField = 0;
constexpr int kZField = 1;
constexpr int kWeightField = 2;
constexpr int kFirstEdgeField = 3; // edge k: energy 3+4k, (unused) 4+4k, c 5+4k, d 6+4k
constexpr int kEdgeStride = 4;
constexpr int kFirstLineField = 25; // Ka2 Ka1 Kb La2 La1 Lb1 Lb2, eV

struct ColumnDef
{
    QString name;
    int column = -1;
};

struct LineDef
{
    QString line;
    QString shell;
    int energyColumn = -1;
    int rateColumn = -1;
};

// A fixed-column value: 0 (also "=" and any other non-number) means absent.
double valueOrAbsent(const QString &text)
{
    const double v = readNumberOr0(text);
    return v == 0 ? -1 : v;
}

// Fields of one line: the line simplified, then cut at every comma with the
// blanks around it. After simplified() a blank next to a comma is at most
// one, so cutting at the commas and trimming each piece gives the same
// fields as splitting at "\\s*,\\s*", without a regular expression per line
// (the whole table is read at every start).
QStringList splitFields(const QString &line)
{
    const QString simple = line.simplified();
    QStringList fields;
    fields.reserve(int(simple.count(QLatin1Char(','))) + 1);
    qsizetype from = 0;
    while (true) {
        const qsizetype comma = simple.indexOf(QLatin1Char(','), from);
        const QStringView piece = QStringView(simple).mid(from, comma < 0 ? -1 : comma - from);
        fields.append(piece.trimmed().toString());
        if (comma < 0)
            return fields;
        from = comma + 1;
    }
}

aAtom placeholder()
{
    aAtom a;
    a.z = 0;
    a.weight = 0;
    return a;
}

} // namespace

double readNumberOr0(QStringView text)
{
    // Plain ASCII decimals, the table's every number, take the fast road;
    // anything else ("=", blanks, non-ASCII, overflow) goes to the project's
    // reader so that the rule stays one. std::from_chars ignores the locale.
    if (text == u"=") // the table's mark for a missing value
        return 0;
    char buffer[64];
    const qsizetype n = text.size();
    bool plain = n > 0 && n < qsizetype(sizeof(buffer));
    for (qsizetype i = 0; plain && i < n; ++i) {
        const char16_t ch = text.at(i).unicode();
        plain = ch > 0x20 && ch < 0x7f;
        buffer[i] = char(ch);
    }
    if (plain) {
        const char *begin = buffer;
        const char *end = buffer + n;
        if (*begin == '+' && begin + 1 < end && begin[1] != '-' && begin[1] != '+')
            ++begin; // from_chars takes no plus sign, toDouble does
        double v = 0;
        const auto [stop, error] = std::from_chars(begin, end, v);
        if (error == std::errc() && stop == end)
            return std::isfinite(v) ? v : 0.0;
    }
    return toDoubleOr0(text.toString());
}

void XrayDataBase::clear()
{
    m_bySymbol.clear();
    m_byZ.clear();
    m_diagnostics.clear();
}

void XrayDataBase::diagnose(const QString &text)
{
    qDebug().noquote() << text;
    m_diagnostics.append(text);
}

bool XrayDataBase::load(const QString &path)
{
    clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        diagnose(QStringLiteral("Cannot open [%1]").arg(path));
        return false;
    }
    loadFrom(file);
    return true;
}

void XrayDataBase::loadFrom(QIODevice &device)
{
    clear();
    QTextStream in(&device);
    in.setEncoding(QStringConverter::Utf8);

    QVector<ColumnDef> edgeDefs;
    QVector<ColumnDef> yieldDefs;
    QVector<LineDef> lineDefs;

    // AE- and w- tags: the first column named for an edge stays in force.
    const auto addColumnDef = [this](QVector<ColumnDef> &defs, const QString &name, int column,
                                     const char *what) {
        for (const ColumnDef &def : defs) {
            if (def.name == name) {
                // One arg() call, so that a "%n" inside a tag stays text.
                diagnose(QStringLiteral("%1 %2 %3 %4")
                             .arg(QLatin1String(what), name, QString::number(def.column),
                                  QString::number(column)));
                return;
            }
        }
        defs.append(ColumnDef{name, column});
    };
    // E- and Rate- tags pair up by shell and line name, in either order.
    const auto addLineColumn = [this, &lineDefs](const QString &shell, const QString &line,
                                                 int column, bool isEnergy) {
        for (LineDef &def : lineDefs) {
            if (def.line != line || def.shell != shell)
                continue;
            int &slot = isEnergy ? def.energyColumn : def.rateColumn;
            if (slot < 0) {
                slot = column;
            } else {
                diagnose(QStringLiteral("Duplicate line-def %1 %2 %3 %4")
                             .arg(shell, line, QString::number(slot), QString::number(column)));
            }
            return;
        }
        lineDefs.append(isEnergy ? LineDef{line, shell, column, -1}
                                 : LineDef{line, shell, -1, column});
    };

    while (!in.atEnd()) {
        const QStringList f = splitFields(in.readLine());
        if (f.size() < 3)
            continue;
        const QString &first = f.at(kSymbolField);
        const bool isTagRow = first == QLatin1String("#") && f.at(1) == QLatin1String("IDLINE");
        if (isTagRow) {
            for (int i = 2; i < f.size(); ++i) {
                const QString tag = f.at(i).simplified();
                const QStringList parts = tag.split(QLatin1Char('-'), Qt::SkipEmptyParts);
                if (parts.isEmpty())
                    continue;
                const QString &kind = parts.at(0);
                if (parts.size() == 2 && kind == QLatin1String("AE"))
                    addColumnDef(edgeDefs, parts.at(1), i, "Duplicate AE-def");
                else if (parts.size() == 2 && kind == QLatin1String("w"))
                    addColumnDef(yieldDefs, parts.at(1), i, "Duplicate w-def");
                else if (parts.size() == 3 && kind == QLatin1String("E"))
                    addLineColumn(parts.at(1), parts.at(2), i, true);
                else if (parts.size() == 3 && kind == QLatin1String("Rate"))
                    addLineColumn(parts.at(1), parts.at(2), i, false);
                else if (parts.size() == 1 && kind == QLatin1String("#"))
                    continue;
                else
                    diagnose(QStringLiteral("unknow type of f-line definition %1").arg(tag));
            }
        }
        if (isTagRow || first.isEmpty() || first == QLatin1String("#")) {
            // Comment and tag rows leave the placeholder under "" and 0.
            const aAtom p = placeholder();
            m_bySymbol.insert(QString(), p);
            m_byZ.insert(0, p);
            continue;
        }

        aAtom a;
        a.symbol = first;
        a.z = toIntOr0(f.at(kZField));
        a.weight = readNumberOr0(f.at(kWeightField));
        for (int k = 0; k < 5; ++k) {
            const int base = kFirstEdgeField + kEdgeStride * k;
            if (base + 3 >= f.size())
                break;
            a.edgeE[k] = valueOrAbsent(f.at(base));
            a.c[k] = valueOrAbsent(f.at(base + 2));
            a.d[k] = valueOrAbsent(f.at(base + 3));
        }
        for (int j = 0; j < 7 && kFirstLineField + j < f.size(); ++j)
            a.lineE[j] = readNumberOr0(f.at(kFirstLineField + j)) / 1000;

        for (const ColumnDef &def : edgeDefs) {
            if (def.column >= f.size())
                continue;
            const double v = readNumberOr0(f.at(def.column));
            const int index = m_edgeNames.indexOf(def.name);
            if (v > 0 && index >= 0)
                a.edges[index] = Edge{def.name, v, QStringLiteral("%1 %2").arg(a.symbol, def.name)};
        }
        for (const ColumnDef &def : yieldDefs) {
            if (def.column >= f.size())
                continue;
            const double v = readNumberOr0(f.at(def.column));
            const int index = m_edgeNames.indexOf(def.name);
            if (v > 0 && index >= 0)
                a.yields[index] = FluoYield{def.name, v};
        }
        for (const LineDef &def : lineDefs) {
            if (def.energyColumn < 0 || def.rateColumn < 0)
                continue;
            if (def.energyColumn >= f.size() || def.rateColumn >= f.size())
                continue;
            const double e = readNumberOr0(f.at(def.energyColumn));
            const double rate = readNumberOr0(f.at(def.rateColumn));
            const int index = m_edgeNames.indexOf(def.shell);
            if (e > 0 && rate > 0 && index >= 0)
                a.lines[index].append(EmissionLine{def.line, def.shell, e / 1000, rate});
        }
        m_bySymbol.insert(a.symbol, a);
        m_byZ.insert(a.z, a);
    }
}

aAtom XrayDataBase::elementByZ(int z) const
{
    return m_byZ.value(z, aAtom());
}

aAtom XrayDataBase::elementFor(const QString &target) const
{
    if (target.isEmpty())
        return elementByZ(0);
    const auto it = m_bySymbol.constFind(target);
    if (it != m_bySymbol.constEnd())
        return it.value();
    // Otherwise a number names the element by its Z.
    const int z = toIntOr0(target);
    return elementByZ(z >= 1 ? z : 0);
}

int XrayDataBase::zFor(const QString &target) const
{
    const int z = elementFor(target).z;
    if (z > 0)
        return z;
    return elementByZ(toIntOr0(target)).z;
}

QString XrayDataBase::edgeName(int i) const
{
    return m_edgeNames.value(i);
}

int XrayDataBase::edgeIndexFor(const QString &edge, const QString &target) const
{
    const int i = m_edgeNames.indexOf(edge);
    return i >= 0 ? i : autoEdge(target);
}

int XrayDataBase::autoEdge(const QString &target) const
{
    const aAtom a = elementFor(target);
    const double maxEnergy = crystalTable().maxEnergy();
    double best = 0;
    int chosen = 0;
    for (int i = 0; i < 5; ++i) {
        const double e = a.edges[i].energy * 1000;
        if (e < maxEnergy && e > best) {
            chosen = i;
            best = e;
        }
    }
    return chosen;
}

double XrayDataBase::edgeEnergy(const QString &target, const QString &edge) const
{
    return elementFor(target).edges[edgeIndexFor(edge, target)].energy * 1000;
}

XrayDataBase &xrayDataBase()
{
    static XrayDataBase db;
    return db;
}
