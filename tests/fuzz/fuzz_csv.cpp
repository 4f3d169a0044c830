// Schedule file lines: readCsvLine, then fromStringList on an entry, then the
// entry written back, as loading and saving a schedule do.
#include "Csv.h"
#include "FuzzWidgets.h"
#include "ScheduleEdit.h"

#include <QCoreApplication>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    startWidgetHarness();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static Csv csv;
    static ScheduleEdit *entry = new ScheduleEdit;
    const QString text = fuzzText(data, size);
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QStringList fields = csv.readCsvLine(line);
        QStringList errors, warnings;
        entry->fromStringList(fields, errors, warnings);
        const QString written = Csv::joinLine(entry->toStringList());
        if (written.contains(QLatin1Char('\n')))
            __builtin_trap(); // an entry must stay on one line of the file
    }
    QCoreApplication::processEvents();
    return 0;
}
