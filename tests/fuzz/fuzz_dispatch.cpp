// Received lines through the client: the login steps and, once logged in, the
// parser and the dispatch with its built-in answers (sent nowhere: there is no
// connection, so they are logged as not sent).
#include "ConnectStat.h"
#include "FuzzWidgets.h"
#include "Tolva.h"

struct TolvaLineFeed
{
    static void feed(Tolva &t, const QString &line, bool loggedIn)
    {
        t.connStat->setStat(loggedIn ? ConnectStat::Connected : ConnectStat::Disconnected);
        t.handleLine(line);
    }
};

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    startWidgetHarness();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static Tolva *tolva = new Tolva;
    const QString text = fuzzText(data, size);
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i)
        TolvaLineFeed::feed(*tolva, lines.at(i), i > 0 || size % 2 == 0);
    return 0;
}
