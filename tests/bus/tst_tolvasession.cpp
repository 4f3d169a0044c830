// The bus client's protocol without a socket: received bytes in, actions out.
#include "TestSupport.h"
#include "TolvaSession.h"

#include <QDir>
#include <QTest>

using Action = TolvaSession::Action;

namespace {

// Short enough for the table to hold over-long lines, long enough for the rest.
constexpr qsizetype kMaxLine = 64;

QString render(const Action &a)
{
    switch (a.kind) {
    case Action::Write:
        return QStringLiteral("write:") + QString::fromLatin1(a.bytes);
    case Action::Send:
        // What is written must be exactly the line reported, plus its line feed.
        return QStringLiteral("send:") + a.text +
               (a.bytes == a.text.toLatin1() + '\n' ? QString()
                                                    : QStringLiteral(" [bytes differ]"));
    case Action::Log:
        return QStringLiteral("log:") + a.text;
    case Action::Error:
        return QStringLiteral("error:") + a.text;
    case Action::VerboseLog:
        return QStringLiteral("vlog:") + a.text;
    case Action::Ready:
        return QStringLiteral("ready");
    case Action::HandOn: {
        const char *kinds[] = {"ans", "event", "ask", "none"};
        return QStringLiteral("%1:%2 #%3")
            .arg(QLatin1String(kinds[int(a.msg.kind)]), a.msg.line)
            .arg(a.msg.cmdId);
    }
    case Action::Close:
        return QStringLiteral("close");
    case Action::Abort:
        return QStringLiteral("abort");
    }
    return QStringLiteral("?");
}

// Hands the session each chunk as one read and takes every whole line after
// it, as the client does; the actions in order, verbose log lines only when asked.
QStringList run(TolvaSession &s, const QByteArrayList &chunks, bool verbose = false)
{
    QStringList trace;
    TolvaSession::Actions actions;
    for (const QByteArray &chunk : chunks) {
        s.receive(chunk);
        while (s.next(&actions)) {
            for (const Action &a : std::as_const(actions)) {
                if (verbose == (a.kind == Action::VerboseLog))
                    trace << render(a);
            }
        }
    }
    return trace;
}

// Logged in as Tarnix, without a key (the server here does not check it).
void logIn(TolvaSession &s)
{
    s.setName(QStringLiteral("Tarnix"));
    run(s, {"0\nSystem>Tarnix Ok:\n"});
}

const QByteArray kThreeKeys = "k0\nk1\nk2\n";
const QString kHello =
    QStringLiteral("send:Tarnix>Dorvan @Hello Hello! I am Tarnix. Nice to meet you!");

} // namespace

class TestTolvaSession : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(dir.isValid());
        QFile::remove(QStringLiteral("Tarnix.key"));
    }

    void login_data()
    {
        QTest::addColumn<QByteArray>("keys"); // null: no key file
        QTest::addColumn<QByteArrayList>("chunks");
        QTest::addColumn<QStringList>("trace"); // <key> is the key file's absolute path
        QTest::addColumn<int>("state");

        const QString opening = QStringLiteral("log:opening key file [<key>]");
        const auto sending = [](int n, int of) {
            return QStringLiteral("log:sending key [Tarnix][key %1 of %2]").arg(n).arg(of);
        };
        const QStringList k1{opening, sending(2, 3), "write:Tarnix k1\n"};
        const auto row = [](const char *tag, const QByteArray &keys, const QByteArrayList &chunks,
                            const QStringList &trace,
                            int state) { QTest::newRow(tag) << keys << chunks << trace << state; };
        const int connecting = TolvaSession::Connecting, connected = TolvaSession::Connected;

        // The key: the challenge modulo the key count, from a file relative to
        // the working directory; the log names its position, never the key.
        row("7 mod 3", kThreeKeys, {"7\n"}, k1, connecting);
        // Each line is a key, simplified; an empty line is one too.
        const QByteArray four = "k0\n\n  two   words \r\nlast";
        row("blank line is a key", four, {"1\n"}, {opening, sending(2, 4), "write:Tarnix \n"},
            connecting);
        row("last key without line feed", four, {"3\n"},
            {opening, sending(4, 4), "write:Tarnix last\n"}, connecting);
        row("missing file", QByteArray(), {"7\n"},
            {opening, "log:Can't open key file [<key>]",
             "log:I have no key to exchange with Tolva."},
            connecting);
        row("empty file", "", {"7\n"}, {opening, "log:I have no key to exchange with Tolva."},
            connecting);

        // The answer to the key: accepted only by the exact prefix.
        row("accepted", kThreeKeys, {"7\n", "System>Tarnix Ok: welcome\n"},
            k1 + QStringList{"ready", "log:Connected To Tolva"}, connected);
        row("acceptance and a command in one read", kThreeKeys,
            {"7\nSystem>Tarnix Ok:\nDorvan>Tarnix Hello\n"},
            k1 + QStringList{"ready", "log:Connected To Tolva", kHello}, connected);
        for (const char *refusal : {"System>tarnix Ok: welcome", "System>Tarnix Er: bad key",
                                    "Sys>Tarnix Ok:", "System>Tarnix Ok", " System>Tarnix Ok:"})
            row(refusal, kThreeKeys, {"7\n", QByteArray(refusal) + '\n'}, k1 + QStringList{"close"},
                connecting);
        // After a refusal nothing more is taken, from the same read or a later one.
        row("lines after a refusal", kThreeKeys,
            {"7\nSystem>Other Ok:\n1\nSystem>Tarnix Ok:\n", "System>Tarnix Ok:\n"},
            k1 + QStringList{"close"}, connecting);

        const QString tooLong =
            QStringLiteral("log:A line from Tolva is longer than %1 bytes; closing the connection.")
                .arg(kMaxLine);
        row("over-long challenge", kThreeKeys, {QByteArray(kMaxLine + 1, '7'), "\n7\n"},
            {tooLong, "abort"}, TolvaSession::Disconnected);
    }

    void login()
    {
        QFETCH(QByteArray, keys);
        QFETCH(QByteArrayList, chunks);
        QFETCH(QStringList, trace);
        QFile f(QStringLiteral("Tarnix.key"));
        QVERIFY(keys.isNull() || (f.open(QIODevice::WriteOnly) && f.write(keys) == keys.size()));
        f.close();
        TolvaSession s(kMaxLine);
        s.setName(QStringLiteral("Tarnix"));
        s.setKeyFile(QStringLiteral("Tarnix.key"));
        const QString path = dir.filePath(QStringLiteral("Tarnix.key"));
        QCOMPARE(run(s, chunks), trace.replaceInStrings(QStringLiteral("<key>"), path));
        QTEST(int(s.state()), "state");

        // A new connection starts the login again.
        s.reset();
        QCOMPARE(s.state(), TolvaSession::Disconnected);
        QCOMPARE(run(s, {"0\n"}).value(0), QStringLiteral("log:opening key file [%1]").arg(path));
        QCOMPARE(s.state(), TolvaSession::Connecting);
    }

    // A login that does not complete in time is given up; input that comes
    // later is not taken.
    void loginTimedOut_data()
    {
        QTest::addColumn<QByteArrayList>("chunks");
        QTest::addColumn<QStringList>("trace");
        QTest::newRow("no challenge")
            << QByteArrayList{}
            << QStringList{"error:Tolva sent no challenge within 10 s; the connection is closed.",
                           "abort"};
        QTest::newRow("key not answered")
            << QByteArrayList{"7\n"}
            << QStringList{
                   "error:Tolva did not answer the key within 10 s; the connection is closed.",
                   "abort"};
        QTest::newRow("logged in") << QByteArrayList{"7\nSystem>Tarnix Ok:\n"} << QStringList{};
    }

    void loginTimedOut()
    {
        QFETCH(QByteArrayList, chunks);
        TolvaSession s;
        s.setName(QStringLiteral("Tarnix"));
        run(s, chunks);
        QStringList trace;
        for (const Action &a : s.loginTimedOut(10))
            trace << render(a);
        QTEST(trace, "trace");
        QCOMPARE(run(s, {"System>Tarnix Ok:\nDorvan>Tarnix Hello\n"}).isEmpty(), !trace.isEmpty());
    }

    void dispatch_data()
    {
        QTest::addColumn<QByteArrayList>("chunks");
        QTest::addColumn<bool>("busy");
        QTest::addColumn<QStringList>("trace");
        const auto row = [](const char *tag, const QByteArrayList &chunks, const QStringList &trace,
                            bool busy = false) { QTest::newRow(tag) << chunks << busy << trace; };

        // Answered here, by the word alone, whatever its kind.
        row("Hello", {"Dorvan>Tarnix Hello\n"}, {kHello});
        row("IsBusy", {"Dorvan>Tarnix IsBusy\n"}, {"send:Tarnix>Dorvan @IsBusy 0"});
        row("IsBusy when busy", {"Dorvan>Tarnix _IsBusy\n"}, {"send:Tarnix>Dorvan @IsBusy 1"},
            true);
        row("GetRunStatus before any run", {"Dorvan>Tarnix GetRunStatus\n"},
            {"send:Tarnix>Dorvan @GetRunStatus idle"});
        row("GetRunStatus answer handed on", {"Dorvan>Tarnix @GetRunStatus running\n"},
            {"ans:Dorvan>Tarnix @GetRunStatus running #17"});
        row("Help Hello", {"Dorvan>Tarnix Help Hello\n"},
            {"send:Tarnix>Dorvan @Help : Answer greeting message"});
        row("Help looks at the first word only", {"Dorvan>Tarnix Help IsBusy Foo\n"},
            {"send:Tarnix>Dorvan @Help : Answer if Tarnix is busy"});
        row("Help Foo", {"Dorvan>Tarnix Help Foo\n"},
            {"send:Tarnix>Dorvan @Help Er: Command [Foo] not found."});
        // From the address asked, to the sender as written.
        row("channel kept", {"Dorvan>Tarnix.sub Hello\n"},
            {"send:Tarnix.sub>Dorvan @Hello Hello! I am Tarnix. Nice to meet you!"});

        // Handed on by kind, with the word's id.
        row("unknown command", {"Dorvan>Tarnix Foo 1\n"}, {"ask:Dorvan>Tarnix Foo 1 #18"});
        row("known word as a command", {"Dorvan>Tarnix RemoteOn\n"},
            {"ask:Dorvan>Tarnix RemoteOn #15"});
        row("event", {"Dorvan>Tarnix _EvEndMeas\r\n"}, {"event:Dorvan>Tarnix _EvEndMeas #8"});
        row("unknown event", {"Dorvan>Tarnix _Odd\n"}, {"event:Dorvan>Tarnix _Odd #18"});
        row("answer", {"Dorvan.remote>Tarnix @GetBlockNum 3\n"},
            {"ans:Dorvan.remote>Tarnix @GetBlockNum 3 #16"});
        row("node list", {"System>Tarnix @listnodes Tarnix Dorvan\n"},
            {"ans:System>Tarnix @listnodes Tarnix Dorvan #14"});

        // Dropped without a word.
        row("no >", {"Dorvan Tarnix Hello\n"}, {});
        row("no word", {"Dorvan>Tarnix\n"}, {});

        // Framing: only whole lines count, in order, however they arrive.
        row("line across reads", {"Dorvan>Tarnix _EvMov", "ingCurTh 1\r", "\nDorvan>Tarnix Hel"},
            {"event:Dorvan>Tarnix _EvMovingCurTh 1 #6"});
        row("lines in one read", {"Dorvan>Tarnix Foo\nDorvan>Tarnix Hello\nx>y _E\n"},
            {"ask:Dorvan>Tarnix Foo #18", kHello, "event:x>y _E #18"});
        row("over-long line", {"Dorvan>Tarnix Hello\n" + QByteArray(kMaxLine + 1, 'x'), "\n"},
            {kHello,
             QStringLiteral(
                 "log:A line from Tolva is longer than %1 bytes; closing the connection.")
                 .arg(kMaxLine),
             "abort"});
        row("over-long with its line feed",
            {QByteArray(kMaxLine + 1, 'x') + "\nDorvan>Tarnix Hello\n"},
            {QStringLiteral(
                 "log:A line from Tolva is longer than %1 bytes; closing the connection.")
                 .arg(kMaxLine),
             "abort"});
    }

    void dispatch()
    {
        QFETCH(QByteArrayList, chunks);
        QFETCH(bool, busy);
        TolvaSession s(kMaxLine);
        logIn(s);
        QCOMPARE(s.state(), TolvaSession::Connected);
        s.setBusy(busy);
        QTEST(run(s, chunks), "trace");
    }

    // Every line handled, in any state, is logged once in the verbose log.
    void verboseLog()
    {
        TolvaSession s(kMaxLine);
        s.setName(QStringLiteral("Tarnix"));
        QCOMPARE(run(s, {" 7 \r\n", "System>Tarnix  Ok:\n"}, true),
                 (QStringList{"vlog:msg from tolva[7]", "vlog:msg from tolva[System>Tarnix Ok:]"}));
        TolvaSession in(kMaxLine);
        logIn(in);
        QCOMPARE(run(in, {"Dorvan  Tarnix\tHello\n", QByteArray(kMaxLine + 1, 'x')}, true),
                 QStringList{"vlog:msg from tolva[Dorvan Tarnix Hello]"});
    }

    void send_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("loggedIn");
        QTest::addColumn<QString>("line"); // written, with a line feed, when logged in
        QTest::addColumn<QString>("lost"); // characters written as '?'

        QTest::newRow("command") << "command" << QStringList{"", "Dorvan", "SetMeasTime", ""}
                                 << true << "Tarnix>Dorvan SetMeasTime" << QString();
        QTest::newRow("command and value")
            << "command" << QStringList{"", "Dorvan", "SetMeasTime", "0 1.5"} << true
            << "Tarnix>Dorvan SetMeasTime 0 1.5" << QString();
        QTest::newRow("channel") << "command" << QStringList{"ch", "Dorvan.remote", "Start", ""}
                                 << true << "Tarnix.ch>Dorvan.remote Start" << QString();
        // Line breaks in a value must not forge a second message.
        QTest::newRow("line breaks")
            << "command"
            << QStringList{"", "Dorvan.remote", "SetXafsMeasComment", "one\nTarnix>Dorvan Start\r"}
            << true << "Tarnix>Dorvan.remote SetXafsMeasComment one Tarnix>Dorvan Start "
            << QString();
        QTest::newRow("event") << "event" << QStringList{"", "ChangedIsBusy 1"} << true
                               << "Tarnix>System _ChangedIsBusy 1" << QString();
        QTest::newRow("answer") << "answer" << QStringList{"Dorvan.x>Tarnix.sub GetThing 1", "42 a"}
                                << true << "Tarnix.sub>Dorvan.x @GetThing 42 a" << QString();
        QTest::newRow("not logged in")
            << "command" << QStringList{"", "Dorvan.remote", "RemoteOn", ""} << false
            << "Tarnix>Dorvan.remote RemoteOn" << QString();
        // The bus carries Latin-1: what it cannot carry is named, each once.
        QTest::newRow("Japanese comment")
            << "command" << QStringList{"", "Dorvan.remote", "SetXafsMeasComment", "試料 1 試"}
            << true << "Tarnix>Dorvan.remote SetXafsMeasComment 試料 1 試"
            << "試料";
        QTest::newRow("Latin-1 accents go out as they are")
            << "command" << QStringList{"", "Dorvan.remote", "SetXafsFileName", "Fé-µ.dat"} << true
            << "Tarnix>Dorvan.remote SetXafsFileName Fé-µ.dat" << QString();
        QTest::newRow("nothing lost when nothing is written")
            << "command" << QStringList{"", "Dorvan.remote", "SetXafsMeasComment", "試料"} << false
            << "Tarnix>Dorvan.remote SetXafsMeasComment 試料" << QString();
    }

    void send()
    {
        QFETCH(QString, what);
        QFETCH(QStringList, args);
        QFETCH(bool, loggedIn);
        QFETCH(QString, line);
        QFETCH(QString, lost);
        TolvaSession s;
        s.setName(QStringLiteral("Tarnix"));
        if (loggedIn)
            logIn(s);
        TolvaSession::Outgoing out;
        if (what == QLatin1String("command")) {
            out = s.command(args.at(0), args.at(1), args.at(2), args.at(3));
        } else if (what == QLatin1String("event")) {
            out = s.event(args.at(0), args.at(1));
        } else {
            AMsg question;
            QVERIFY(question.parse(args.at(0)));
            out = s.answer(question, args.at(1));
        }
        QCOMPARE(out.line, line);
        QCOMPARE(out.bytes, loggedIn ? line.toLatin1() + '\n' : QByteArray());
        QCOMPARE(out.result(),
                 loggedIn ? line : QStringLiteral("Tolva is not ready (%1)").arg(line));
        QCOMPARE(out.lost, lost);
        QCOMPARE(out.lossText().isEmpty(), lost.isEmpty());
        QVERIFY(lost.isEmpty() || out.lossText().contains(line));
    }

    // Only a change is announced.
    void busyFlag()
    {
        TolvaSession s;
        s.setName(QStringLiteral("Tarnix"));
        QStringList events;
        for (bool busy : {false, true, true, false}) {
            if (const auto event = s.setBusy(busy))
                events << event->line;
        }
        QCOMPARE(events,
                 (QStringList{"Tarnix>System _ChangedIsBusy 1", "Tarnix>System _ChangedIsBusy 0"}));
    }

private:
    TestSupport::WorkDir dir;
};

QTEST_GUILESS_MAIN(TestTolvaSession)
#include "tst_tolvasession.moc"
