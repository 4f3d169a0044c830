// SPDX-License-Identifier: GPL-3.0-or-later
// The bus protocol without a socket: lines parsed, the login key, bytes in and actions out.
#include "AMsg.h"
#include "TestSupport.h"
#include "TolvaSession.h"

#include <QTest>

using Action = TolvaSession::Action;

namespace {

// Short enough for the tables to hold over-long lines, long enough for the rest.
constexpr qsizetype kMaxLine = 64;

// An action as one word and its subject; log lines are for people and left out.
QString render(const Action &a)
{
    const char *words[] = {"write", "send", "", "error", "", "ready", "", "close", "abort"};
    const char *kinds[] = {"ans", "event", "ask", "none"};
    if (a.kind == Action::HandOn)
        return QStringLiteral("%1:%2 #%3").arg(kinds[int(a.msg.kind)], a.msg.line).arg(a.msg.cmdId);
    if (a.kind == Action::Write)
        return QStringLiteral("write:") + QString::fromLatin1(a.bytes);
    // What is written for a line must be exactly the line, plus its line feed.
    if (a.kind == Action::Send && a.bytes == a.text.toLatin1() + '\n')
        return QStringLiteral("send:") + a.text;
    return QLatin1String(words[a.kind]);
}

// Hands each chunk over as one read and takes every whole line; kTimeUp runs the login time out.
const QByteArray kTimeUp("time up");

QStringList run(TolvaSession &s, const QByteArrayList &chunks, QStringList *errors = nullptr)
{
    QStringList trace;
    TolvaSession::Actions actions;
    const auto take = [&] {
        for (const Action &a : std::as_const(actions)) {
            trace << render(a);
            if (errors && a.kind == Action::Error)
                *errors << a.text;
        }
    };
    for (const QByteArray &chunk : chunks) {
        if (chunk == kTimeUp) {
            actions = s.loginTimedOut(10);
            take();
            continue;
        }
        s.receive(chunk);
        while (s.next(&actions))
            take();
    }
    trace.removeAll(QString());
    return trace;
}

// Logged in as Tarnix, without a key (the server here does not check it).
void logIn(TolvaSession &s)
{
    s.setName(QStringLiteral("Tarnix"));
    run(s, {"0\nSystem>Tarnix Ok:\n"});
}

const QString kHello =
    QStringLiteral("send:Tarnix>Dorvan @Hello Hello! I am Tarnix. Nice to meet you!");

// The parsed fields in one list, so that a row states the whole result.
QStringList fields(const AMsg &m)
{
    if (!m.valid)
        return {};
    const char marks[] = {'@', '_', ' ', '?'};
    QStringList f{m.from, m.fromCh, m.fromNode, m.to, m.toCh, m.toNode};
    return f << QLatin1Char(marks[int(m.kind)]) + m.cmd << m.params << m.paramText;
}

} // namespace

class TestTolvaSession : public QObject
{
    Q_OBJECT
private slots:
    void login_data()
    {
        QTest::addColumn<QByteArray>("keys");
        QTest::addColumn<QByteArrayList>("chunks");
        QTest::addColumn<QStringList>("trace");
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("said"); // in the error, when refused
        const auto row = [](const char *tag, const QByteArray &keys, const QByteArrayList &chunks,
                            const QStringList &trace, int state = TolvaSession::Connecting,
                            const QString &said = QString()) {
            QTest::newRow(tag) << keys << chunks << trace << state << said;
        };
        const QByteArray three = "k0\nk1\nk2\n";
        const QStringList k1{"write:Tarnix k1\n"};
        // The key: the challenge modulo the key count; each line a key, simplified.
        row("7 mod 3", three, {"7\n"}, k1);
        row("blank line is a key", "k0\n\n  two   words \r\nlast", {"2\n"},
            {"write:Tarnix two words\n"});
        // The answer to the key: accepted only by the exact prefix.
        row("accepted", three, {"7\n", "System>Tarnix Ok: welcome\n"}, k1 + QStringList{"ready"},
            TolvaSession::Connected);
        for (const char *refusal : {"System>tarnix Ok: welcome", "System>Tarnix Er: bad key",
                                    "Sys>Tarnix Ok:", "System>Tarnix Ok", " System>Tarnix Ok:"})
            row(refusal, three, {"7\n", QByteArray(refusal) + '\n'},
                k1 + QStringList{"error", "close"}, TolvaSession::Connecting,
                QString(refusal).trimmed().section(' ', 1));
        // After a refusal nothing more is taken, from the same read or a later one.
        row("lines after a refusal", three,
            {"7\nSystem>Other Ok:\n1\nSystem>Tarnix Ok:\n", "System>Tarnix Ok:\n"},
            k1 + QStringList{"error", "close"}, TolvaSession::Connecting, "Ok:");
        // A login that does not complete in time is given up; later input is not taken.
        const QByteArray later("System>Tarnix Ok:\nDorvan>Tarnix Hello\n");
        row("no challenge in time", three, {kTimeUp, later}, {"error", "abort"},
            TolvaSession::Disconnected, "no challenge within 10 s");
        row("key not answered in time", three, {"7\n", kTimeUp, later},
            k1 + QStringList{"error", "abort"}, TolvaSession::Connecting,
            "did not answer the key within 10 s");
    }

    void login()
    {
        QFETCH(QByteArray, keys);
        TestSupport::WorkDir dir;
        QVERIFY(TestSupport::writeFile(dir.filePath("Tarnix.key"), keys));
        TolvaSession s(kMaxLine);
        s.setName(QStringLiteral("Tarnix"));
        s.setKeyFile(QStringLiteral("Tarnix.key")); // relative to the working directory
        QFETCH(QByteArrayList, chunks);
        QStringList errors;
        QTEST(run(s, chunks, &errors), "trace");
        QTEST(int(s.state()), "state");
        // A refusal says what the server answered, a login out of time what it waited for.
        QFETCH(QString, said);
        QCOMPARE(errors.size(), int(!said.isEmpty()));
        if (!said.isEmpty())
            QVERIFY2(errors.first().contains(said), qPrintable(errors.first()));
    }

    void dispatch_data()
    {
        QTest::addColumn<QByteArrayList>("chunks");
        QTest::addColumn<QStringList>("trace");
        const auto row = [](const char *tag, const QByteArrayList &chunks,
                            const QStringList &trace) { QTest::newRow(tag) << chunks << trace; };
        // Answered here.
        row("GetRunStatus before any run", {"Dorvan>Tarnix GetRunStatus\n"},
            {"send:Tarnix>Dorvan @GetRunStatus idle"});
        // From the address asked, to the sender as written.
        row("channels kept", {"Dorvan.x>Tarnix.sub Hello\n"},
            {"send:Tarnix.sub>Dorvan.x @Hello Hello! I am Tarnix. Nice to meet you!"});
        row("Help alone lists the words", {"Dorvan>Tarnix Help\n"},
            {"send:Tarnix>Dorvan @Help Commands : Hello Help IsBusy Connected Disconnected "
             "EvChangerMoving EvMovingCurTh EvStartMeas EvEndMeas EvStartQMeas EvEndQMeas "
             "EvErrStartXAFSMeas EvErrRemote EvErrChangerMove RemoteOn listnodes GetBlockNum "
             "GetRunStatus"});
        // Handed on by kind, with the word's id; an answer of a built-in word too.
        row("GetRunStatus answer handed on", {"Dorvan.remote>Tarnix @GetRunStatus running\n"},
            {"ans:Dorvan.remote>Tarnix @GetRunStatus running #17"});
        // Framing: whole lines count, in order, however they arrive; junk lines are skipped.
        row("line across reads",
            {"Dorvan>Tarnix _EvMov", "ingCurTh 1\r", "\nDorvan>Tarnix Hel", "lo\n"},
            {"event:Dorvan>Tarnix _EvMovingCurTh 1 #6", kHello});
        row("lines in one read", {"Dorvan>Tarnix Foo\ngarbage\nDorvan>Tarnix Hello\nx>y _E\n"},
            {"ask:Dorvan>Tarnix Foo #18", kHello, "event:x>y _E #18"});
        row("over-long line", {"Dorvan>Tarnix Hello\n" + QByteArray(kMaxLine + 1, 'x'), "\n"},
            {kHello, "abort"});
    }

    void dispatch()
    {
        QFETCH(QByteArrayList, chunks);
        TolvaSession s(kMaxLine);
        logIn(s);
        QCOMPARE(s.state(), TolvaSession::Connected);
        QTEST(run(s, chunks), "trace");
    }

    void send_data()
    {
        QTest::addColumn<QStringList>("args"); // a command's four
        QTest::addColumn<bool>("loggedIn");
        QTest::addColumn<QString>("line"); // written, with a line feed, when logged in
        QTest::addColumn<QString>("lost"); // characters written as '?'
        // Line breaks in a value must not forge a second message.
        QTest::newRow("line breaks")
            << QStringList{"ch", "Dorvan.remote", "SetXafsMeasComment",
                           "one\nTarnix>Dorvan Start\r"}
            << true << "Tarnix.ch>Dorvan.remote SetXafsMeasComment one Tarnix>Dorvan Start "
            << QString();
        QTest::newRow("not logged in") << QStringList{"", "Dorvan.remote", "RemoteOn", ""} << false
                                       << "Tarnix>Dorvan.remote RemoteOn" << QString();
        // The bus carries Latin-1: what it cannot carry is named, each once.
        QTest::newRow("Japanese comment")
            << QStringList{"", "Dorvan.remote", "SetXafsMeasComment", "試料 1 試é"} << true
            << "Tarnix>Dorvan.remote SetXafsMeasComment 試料 1 試é"
            << "試料";
    }

    void send()
    {
        QFETCH(QStringList, args);
        QFETCH(bool, loggedIn);
        QFETCH(QString, line);
        TolvaSession s;
        s.setName(QStringLiteral("Tarnix"));
        if (loggedIn)
            logIn(s);
        const TolvaSession::Outgoing out =
            s.command(args.at(0), args.at(1), args.at(2), args.at(3));
        QCOMPARE(out.line, line);
        QCOMPARE(out.bytes, loggedIn ? line.toLatin1() + '\n' : QByteArray());
        QCOMPARE(out.result() == line, loggedIn);
        QTEST(out.lost, "lost");
        QCOMPARE(out.lossText().isEmpty(), out.lost.isEmpty()); // said when anything was lost
    }

    // The command table handlers rely on: a word or id given twice is refused and the first
    // stays; a parameter count is given back when right and answered as refused when not.
    void commandTable()
    {
        NodeCmdTable t;
        QVERIFY(t.addCommand(1, QStringLiteral("Move"), QStringLiteral("moves")));
        QVERIFY(!t.addCommand(1, QStringLiteral("Stop"), QString()));
        QVERIFY(!t.addCommand(2, QStringLiteral("Move"), QStringLiteral("again")));
        QVERIFY(t.addCommand(3, QStringLiteral("_EvDone"), QString()));
        QCOMPARE(t.size(), 2);
        QCOMPARE(t.idOf(QStringLiteral("Move")), 1);
        QCOMPARE(t.helpOf(QStringLiteral("Move")), QStringLiteral("moves"));
        QCOMPARE(t.idOf(QStringLiteral("Stop")), qint32(NodeCmdTable::NotFoundId));
        QCOMPARE(t.commandList(), QStringLiteral("Move")); // events are not commands
        // Given 1, 2, 3 parameters: exactly 2, at most 2, at least 2.
        const QList<QList<int>> want{{0, 1, -1}, {1, 2, 2}, {0, -1, 3}};
        for (int given = 1; given <= 3; ++given) {
            AMsg m;
            m.parse(QStringLiteral("Dorvan>Tarnix Move") + QStringLiteral(" x").repeated(given));
            int refusals = 0;
            const auto answer = [&refusals](const AMsg &, const QString &) { ++refusals; };
            const QList<int> got{NodeCmdTable::checkParamsEq(m, 2, answer),
                                 NodeCmdTable::checkParamsMax(m, 2, answer),
                                 NodeCmdTable::checkParamsMin(m, 2, answer)};
            QCOMPARE(got, want.at(given - 1));
            QCOMPARE(refusals, int(got.count(0) + got.count(-1)));
        }
    }

    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("fields"); // empty: not a message
        const auto row = [](const char *tag, const QString &text, const QStringList &fields) {
            QTest::newRow(tag) << text << fields;
        };
        const QStringList dt{"Dorvan", "", "Dorvan", "Tarnix", "", "Tarnix"};
        row("plain command", "Dorvan>Tarnix Hello", dt + QStringList{" Hello", ""});
        row("event with quoted item", "Dorvan>Tarnix _EvErrRemote \"Axis stop now\" x",
            dt + QStringList{"_EvErrRemote", "Axis stop now", "x", " \"Axis stop now\" x"});
        row("header only", "Dorvan>Tarnix", {});
        row("empty node before the dot", ".x>Tarnix Cmd",
            {".x", "x", "", "Tarnix", "", "Tarnix", " Cmd", ""});
        row("answer, channels, several params, tabs",
            "Dorvan.remote>Tarnix.sub @SetBlock 0\t8779  8800 0 1.5 100",
            {"Dorvan.remote", "remote", "Dorvan", "Tarnix.sub", "sub", "Tarnix", "@SetBlock", "0",
             "8779", "8800", "0", "1.5", "100", " 0\t8779  8800 0 1.5 100"});
    }

    void parse()
    {
        QFETCH(QString, text);
        AMsg m;
        QCOMPARE(m.parse(text), m.valid);
        QTEST(fields(m), "fields");
        QCOMPARE(m.line, QString(text).remove(QLatin1Char('\r')).remove(QLatin1Char('\n')));
    }
};

QTEST_GUILESS_MAIN(TestTolvaSession)
#include "tst_tolvasession.moc"
