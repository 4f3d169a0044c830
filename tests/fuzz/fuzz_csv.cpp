// Schedule file text: Csv::parse into entries, then each entry written back
// as one line of fields, as loading and saving a schedule do; no widgets.
#include "Csv.h"
#include "EntryCodec.h"
#include "FuzzTables.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    startScheduleHarness();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    for (const Entry &e : Csv::parse(fuzzText(data, size))) {
        QStringList fields = EntryCodec::toFields(e);
        const QString line = Csv::joinLine(fields);
        // An entry stays on one line of the file, and that line gives its
        // fields back (line breaks inside a field as blanks; a final empty
        // field adds nothing).
        if (line.contains(QLatin1Char('\n')) || line.contains(QLatin1Char('\r')))
            __builtin_trap();
        for (QString &f : fields)
            f.replace(QLatin1String("\r\n"), QLatin1String(" "))
                .replace('\r', ' ')
                .replace('\n', ' ');
        QStringList back = Csv::splitLine(line);
        while (back.size() < fields.size())
            back << QString();
        if (back != fields)
            __builtin_trap();
    }
    return 0;
}
