// Schedule file text: Csv::parse into entries, then each entry written back
// as one line of fields, as loading and saving a schedule do; no widgets.
#include "ConfigStore.h"
#include "Csv.h"
#include "EntryCodec.h"
#include "FuzzCommon.h"
#include "OptionTables.h"
#include "XrayDataBase.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    silenceQtMessages();
    ConfigStore store;
    store.readText(QStringLiteral("Crystal Si111 3.13553 4000 28000 \"Si(111)\"\n"
                                  "Crystal Si311 1.63747 7000 40000\n"
                                  "DARK \"-\"\nDARK Y\nDARK N\nTUNE \"-\"\nTUNE Y\nTUNE N\n"
                                  "SCAN_TYPE Quick Q\nSCAN_TYPE Step S\n"
                                  "MEAS_MODE Trans T\nMEAS_MODE Fluo F\n"
                                  "BLK_SETUP Std\nBLK_SETUP File\nBLK_SETUP User\nBLK_SETUP Extra\n"
                                  "STD_TYPE XAFS\nSTD_TYPE XANES\nSTD_TYPE EXAFS\n"));
    buildOptionTables(store);
    xrayDataBase().load(QStringLiteral(":XrayDataBase2.txt"));
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
