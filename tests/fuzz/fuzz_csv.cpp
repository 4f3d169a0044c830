// SPDX-License-Identifier: GPL-3.0-or-later
// Schedule file text parsed into entries, each written back as one line of fields.
#define FUZZ_SCHEDULE
#include "Csv.h"
#include "EntryCodec.h"
#include "FuzzCommon.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    for (const Entry &e : Csv::parse(fuzzText(data, size))) {
        QStringList fields = EntryCodec::toFields(e);
        const QString line = Csv::joinLine(fields);
        // An entry stays on one line that gives its fields back (line breaks
        // inside a field as blanks; a final empty field adds nothing).
        check(!line.contains('\n') && !line.contains('\r'));
        for (QString &f : fields)
            f.replace(QLatin1String("\r\n"), QLatin1String(" "))
                .replace('\r', ' ')
                .replace('\n', ' ');
        QStringList back = Csv::splitLine(line);
        while (back.size() < fields.size())
            back << QString();
        check(back == fields);
    }
    return 0;
}
