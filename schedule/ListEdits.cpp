// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListEdits.h"

#include "Csv.h"
#include "EntryCodec.h"
#include "OptionTables.h"
#include "XrayDataBase.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace ListEdits {

namespace {

bool isHeader(const QStringList &fields)
{
    const QStringList names = fieldNames();
    return fields.size() >= 2 && fields.at(0).trimmed() == names.at(0) &&
           fields.at(1).trimmed() == names.at(1);
}

} // namespace

QStringList fieldNames()
{
    // Written into files and copied rows: never translated.
    return {QStringLiteral("Holder"),
            QStringLiteral("Sample ID"),
            QStringLiteral("Comment"),
            QStringLiteral("Reference"),
            QStringLiteral("Data file"),
            QStringLiteral("Element"),
            QStringLiteral("Edge"),
            QStringLiteral("Dark"),
            QStringLiteral("Tuning"),
            QStringLiteral("Crystal"),
            QStringLiteral("Scan"),
            QStringLiteral("Mode"),
            QStringLiteral("Blocks by"),
            QStringLiteral("Standard set"),
            QStringLiteral("Block file"),
            QStringLiteral("Dwell times"),
            QStringLiteral("Block count"),
            QStringLiteral("Unit"),
            QStringLiteral("Start, Points, Delta of each block")};
}

Entry withField(const Entry &e, int field, const QString &text)
{
    QStringList fields = EntryCodec::toFields(e);
    if (field < 0 || field >= fields.size())
        return e;
    fields[field] = text;
    Entry out = e;
    QStringList errors, warnings;
    EntryCodec::fromFields(fields, out, errors, warnings);
    out.exec = e.exec;
    return out;
}

QString field(const Entry &e, int field)
{
    return EntryCodec::toFields(e).value(field);
}

QStringList choices(int field)
{
    switch (field) {
    case EntryColumns::Element: {
        QStringList out;
        for (const aAtom &a : xrayDataBase().byZ())
            out << a.symbol;
        return out;
    }
    case EntryColumns::Edge:
        return xrayDataBase().edgeNames();
    case EntryColumns::MeasDark:
        return darkTable().labels();
    case EntryColumns::Tuning:
        return tuneTable().labels();
    case EntryColumns::Crystal: {
        QStringList out{QStringLiteral("-")};
        for (int i = 0; i < crystalTable().count(); ++i)
            out << crystalTable().at(i).name;
        return out;
    }
    case EntryColumns::ScanType:
        return scanTypeTable().labels();
    case EntryColumns::MeasMode:
        return measModeTable().labels();
    case EntryColumns::BlockDef:
        return blkSetupTable().labels();
    case EntryColumns::StdType:
        return stdTypeTable().labels();
    default:
        return {};
    }
}

QString numberedOn(const QString &file, int steps)
{
    if (file.isEmpty() || steps == 0)
        return file;
    // The number is the last run of digits before the suffix of the name
    // itself (a dot in a folder name is no suffix).
    const int slash = int(file.lastIndexOf(QLatin1Char('/')));
    int dot = int(file.lastIndexOf(QLatin1Char('.')));
    if (dot <= slash + 1)
        dot = int(file.size());
    const QString base = file.left(dot);
    const QString suffix = file.mid(dot);
    // Only a number set off by '-', '_' or a blank counts: the digits of
    // a formula ("Fe2O3") are part of the sample's name.
    static const QRegularExpression digits(QStringLiteral("[-_ ](\\d+)$"));
    const QRegularExpressionMatch m = digits.match(base);
    if (!m.hasMatch())
        return base + QStringLiteral("-%1").arg(1 + steps, 4, 10, QLatin1Char('0')) + suffix;
    const QString number = m.captured(1);
    const qlonglong next = number.toLongLong() + steps;
    return base.left(m.capturedStart(1)) +
           QStringLiteral("%1").arg(next, int(number.size()), 10, QLatin1Char('0')) + suffix;
}

QList<Entry> repeated(const QList<Entry> &entries, int times)
{
    QList<Entry> out;
    out.reserve(entries.size() * qMax(0, times));
    for (int k = 1; k <= times; ++k) {
        for (Entry e : entries) {
            e.dataFile = numberedOn(e.dataFile, k);
            out << e;
        }
    }
    return out;
}

Pasted fromTsv(const QString &text)
{
    Pasted p;
    const QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    for (int i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList fields = Csv::splitLine(line, QLatin1Char('\t'));
        if (isHeader(fields))
            continue;
        if (fields.size() <= EntryColumns::Element ||
            fields.at(EntryColumns::Element).trimmed().isEmpty()) {
            p.refused << QCoreApplication::translate(
                             "ListEdits", "row %1: no element in column %2 (%3 fields read)")
                             .arg(i + 1)
                             .arg(EntryColumns::Element + 1)
                             .arg(fields.size());
            continue;
        }
        p.entries << EntryCodec::fromFields(fields);
    }
    return p;
}

QString toTsv(const QList<Entry> &entries)
{
    QStringList rows{fieldNames().join(QLatin1Char('\t'))};
    // As the schedule file writes a line: a row never splits, so that it
    // pastes back as one entry.
    for (const Entry &e : entries)
        rows << Csv::joinLine(EntryCodec::toFields(e), QLatin1Char('\t'));
    return rows.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace ListEdits
