#include "AMsg.h"
#include "TolvaProto.h"

#include <QTest>

class TestAMsg : public QObject
{
    Q_OBJECT
private slots:
    void defaults();
    void parse_data();
    void parse();
    void addressesRebuiltWhenInvalid();
    void crlfAnywhere();
    void travelsThroughQVariant();
    void formats_data();
    void formats();
    void encodeLine_data();
    void encodeLine();
    void keyIndex_data();
    void keyIndex();
    void loadKeys();
};

void TestAMsg::defaults()
{
    const AMsg m;
    QVERIFY(!m.valid);
    QVERIFY(m.line.isEmpty() && m.header.isEmpty() && m.cmd.isEmpty() && m.paramText.isEmpty());
    QVERIFY(m.params.isEmpty());
    QCOMPARE(m.kind, AMsgKind::None);
}

void TestAMsg::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("fromNode");
    QTest::addColumn<QString>("fromCh");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("toNode");
    QTest::addColumn<QString>("toCh");
    QTest::addColumn<QString>("cmd");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("params");
    QTest::addColumn<QString>("paramText");

    const int ans = int(AMsgKind::Ans), ev = int(AMsgKind::Event), ask = int(AMsgKind::Ask),
              none = int(AMsgKind::None);
    QTest::newRow("plain command") << "Dorvan>Tarnix Hello" << true << "Dorvan"
                                   << "Dorvan"
                                   << ""
                                   << "Tarnix"
                                   << "Tarnix"
                                   << ""
                                   << "Hello" << ask << QStringList() << "";
    QTest::newRow("answer with channel")
        << "Dorvan.remote>Tarnix @GetBlockNum 3" << true << "Dorvan.remote"
        << "Dorvan"
        << "remote"
        << "Tarnix"
        << "Tarnix"
        << ""
        << "GetBlockNum" << ans << QStringList{"3"} << " 3";
    QTest::newRow("event with quoted item")
        << "Dorvan>Tarnix _EvErrRemote \"Axis stop now\" x" << true << "Dorvan"
        << "Dorvan"
        << ""
        << "Tarnix"
        << "Tarnix"
        << ""
        << "EvErrRemote" << ev << QStringList{"Axis stop now", "x"} << " \"Axis stop now\" x";
    QTest::newRow("header only") << "Dorvan>Tarnix" << false << ""
                                 << ""
                                 << ""
                                 << ""
                                 << ""
                                 << ""
                                 << "" << none << QStringList() << "";
    QTest::newRow("no > in first item") << "Dorvan Tarnix Hello" << false << ""
                                        << ""
                                        << ""
                                        << ""
                                        << ""
                                        << ""
                                        << "" << none << QStringList() << "";
    QTest::newRow("empty word") << "Dorvan>Tarnix " << true << "Dorvan"
                                << "Dorvan"
                                << ""
                                << "Tarnix"
                                << "Tarnix"
                                << ""
                                << "" << ask << QStringList() << "";
    QTest::newRow("empty sender") << ">Tarnix Hello" << true << ""
                                  << ""
                                  << ""
                                  << "Tarnix"
                                  << "Tarnix"
                                  << ""
                                  << "Hello" << ask << QStringList() << "";
    QTest::newRow("empty receiver") << "Dorvan> Hello" << true << "Dorvan"
                                    << "Dorvan"
                                    << ""
                                    << ""
                                    << ""
                                    << ""
                                    << "Hello" << ask << QStringList() << "";
    QTest::newRow("crlf end") << "Dorvan>Tarnix Hello\r\n"
                              << true << "Dorvan"
                              << "Dorvan"
                              << ""
                              << "Tarnix"
                              << "Tarnix"
                              << ""
                              << "Hello" << ask << QStringList() << "";
    QTest::newRow("stray cr inside") << "Dorvan>Tar\rnix Hel\rlo" << true << "Dorvan"
                                     << "Dorvan"
                                     << ""
                                     << "Tarnix"
                                     << "Tarnix"
                                     << ""
                                     << "Hello" << ask << QStringList() << "";
    QTest::newRow("trailing blanks") << "Dorvan>Tarnix Hello   " << true << "Dorvan"
                                     << "Dorvan"
                                     << ""
                                     << "Tarnix"
                                     << "Tarnix"
                                     << ""
                                     << "Hello" << ask << QStringList{""} << "   ";
    QTest::newRow("double at") << "Dorvan>Tarnix @@Hello" << true << "Dorvan"
                               << "Dorvan"
                               << ""
                               << "Tarnix"
                               << "Tarnix"
                               << ""
                               << "@Hello" << ans << QStringList() << "";
    QTest::newRow("underscore then at") << "a>b _@X" << true << "a"
                                        << "a"
                                        << ""
                                        << "b"
                                        << "b"
                                        << ""
                                        << "@X" << ev << QStringList() << "";
    QTest::newRow("only first dot splits") << "a.b.c>d.e.f Cmd" << true << "a.b.c"
                                           << "a"
                                           << "b.c"
                                           << "d.e.f"
                                           << "d"
                                           << "e.f"
                                           << "Cmd" << ask << QStringList() << "";
    QTest::newRow("only first > splits") << "a>b>c Cmd" << true << "a"
                                         << "a"
                                         << ""
                                         << "b>c"
                                         << "b>c"
                                         << ""
                                         << "Cmd" << ask << QStringList() << "";
    QTest::newRow("several params, tabs")
        << "Tarnix>Dorvan.remote SetBlock 0\t8779  8800 0 1.5 100" << true << "Tarnix"
        << "Tarnix"
        << ""
        << "Dorvan.remote"
        << "Dorvan"
        << "remote"
        << "SetBlock" << ask << QStringList{"0", "8779", "8800", "0", "1.5", "100"}
        << " 0\t8779  8800 0 1.5 100";
    QTest::newRow("param then trailing blank")
        << "a>b Help Hello " << true << "a"
        << "a"
        << ""
        << "b"
        << "b"
        << ""
        << "Help" << ask << QStringList{"Hello", ""} << " Hello ";
    QTest::newRow("quoted header") << "\"a>b c\" Hello" << true << "a"
                                   << "a"
                                   << ""
                                   << "b c"
                                   << "b c"
                                   << ""
                                   << "Hello" << ask << QStringList() << "";
    QTest::newRow("unterminated quote param")
        << "a>b Cmd \"open end" << true << "a"
        << "a"
        << ""
        << "b"
        << "b"
        << ""
        << "Cmd" << ask << QStringList{"open end"} << " \"open end";
    QTest::newRow("empty line") << "" << false << ""
                                << ""
                                << ""
                                << ""
                                << ""
                                << ""
                                << "" << none << QStringList() << "";
    QTest::newRow("blanks only") << "   " << false << ""
                                 << ""
                                 << ""
                                 << ""
                                 << ""
                                 << ""
                                 << "" << none << QStringList() << "";
    QTest::newRow("leading blanks") << "  a>b  Hello" << true << "a"
                                    << "a"
                                    << ""
                                    << "b"
                                    << "b"
                                    << ""
                                    << "Hello" << ask << QStringList() << "";
    QTest::newRow("utf8 text") << "a>b Cmd \u00e9t\u00e9" << true << "a"
                               << "a"
                               << ""
                               << "b"
                               << "b"
                               << ""
                               << "Cmd" << ask << QStringList{"\u00e9t\u00e9"} << " \u00e9t\u00e9";
}

void TestAMsg::parse()
{
    QFETCH(QString, text);
    AMsg m;
    QTEST(m.parse(text), "valid");
    QTEST(m.valid, "valid");
    QTEST(m.from, "from");
    QTEST(m.fromNode, "fromNode");
    QTEST(m.fromCh, "fromCh");
    QTEST(m.to, "to");
    QTEST(m.toNode, "toNode");
    QTEST(m.toCh, "toCh");
    QTEST(m.cmd, "cmd");
    QTEST(int(m.kind), "kind");
    QTEST(m.params, "params");
    QTEST(m.paramText, "paramText");
    QFETCH(QStringList, params);
    QCOMPARE(m.firstParam, params.isEmpty() ? QString() : params.first());
    QString stripped = text;
    stripped.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
    QCOMPARE(m.line, stripped);
    QFETCH(QString, fromCh);
    QFETCH(QString, toCh);
    QCOMPARE(m.fromAddr, fromCh.isEmpty() ? m.fromNode : m.fromNode + "." + fromCh);
    QCOMPARE(m.toAddr, toCh.isEmpty() ? m.toNode : m.toNode + "." + toCh);
    if (m.valid) {
        QCOMPARE(m.header, m.from + ">" + m.to);
        QVERIFY(m.body.startsWith(QLatin1Char(' ')) || m.body.startsWith(QLatin1Char('\t')));
    }
    QCOMPARE(m.cmdId, -1); // parse never looks the word up
}

void TestAMsg::addressesRebuiltWhenInvalid()
{
    AMsg m;
    m.fromNode = QStringLiteral("x");
    m.fromCh = QStringLiteral("y");
    m.toNode = QStringLiteral("z");
    QVERIFY(!m.parse(QStringLiteral("nothing")));
    QCOMPARE(m.fromAddr, QStringLiteral("x.y"));
    QCOMPARE(m.toAddr, QStringLiteral("z"));
}

void TestAMsg::crlfAnywhere()
{
    AMsg a;
    AMsg b;
    QVERIFY(a.parse(QStringLiteral("Dorvan>Tarnix _EvMovingCurTh 1\r\n")));
    QVERIFY(b.parse(QStringLiteral("Dorvan>Tar\nnix _EvMoving\rCurTh 1")));
    QCOMPARE(a.line, b.line);
    QCOMPARE(a.params, b.params);
    QCOMPARE(a.cmd, b.cmd);
}

void TestAMsg::travelsThroughQVariant()
{
    registerAMsgMetaType();
    AMsg m;
    m.parse(QStringLiteral("Dorvan>Tarnix _EvEndMeas 1 2"));
    m.cmdId = 8;
    const QVariant v = QVariant::fromValue(m);
    const AMsg back = v.value<AMsg>();
    QCOMPARE(back.cmd, QStringLiteral("EvEndMeas"));
    QCOMPARE(back.params, (QStringList{"1", "2"}));
    QCOMPARE(back.cmdId, 8);
    QVERIFY(QMetaType::fromName("AMsg").isValid());
}

void TestAMsg::formats_data()
{
    QTest::addColumn<QString>("built");
    QTest::addColumn<QString>("expected");
    using namespace TolvaProto;
    QTest::newRow("command to server")
        << buildLine("Tarnix", "", "System", commandText("listnodes", ""))
        << "Tarnix>System listnodes";
    QTest::newRow("command with value")
        << buildLine("Tarnix", "", "Dorvan.remote", commandText("SetXafsFileName", "a.dat"))
        << "Tarnix>Dorvan.remote SetXafsFileName a.dat";
    QTest::newRow("empty value, no trailing blank")
        << buildLine("Tarnix", "", "Dorvan", commandText("SetMeasTime", ""))
        << "Tarnix>Dorvan SetMeasTime";
    QTest::newRow("channel") << buildLine("Tarnix", "ch", "Dorvan", "X") << "Tarnix.ch>Dorvan X";
    QTest::newRow("answer") << buildLine("Tarnix", "", "Dorvan", answerText("Hello", "Hi"))
                            << "Tarnix>Dorvan @Hello Hi";
    QTest::newRow("event") << buildLine("Tarnix", "", "System", eventText("ChangedIsBusy 1"))
                           << "Tarnix>System _ChangedIsBusy 1";
}

void TestAMsg::formats()
{
    QFETCH(QString, built);
    QFETCH(QString, expected);
    QCOMPARE(built, expected);
}

void TestAMsg::encodeLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("plain") << "a>b X" << QByteArray("a>b X\n");
    QTest::newRow("lf inside") << "a>b X\nb>c Forged" << QByteArray("a>b X b>c Forged\n");
    QTest::newRow("crlf inside") << "a>b X\r\ny" << QByteArray("a>b X  y\n");
    QTest::newRow("latin1") << "a>b \u00e9" << QByteArray("a>b \xe9\n");
    QTest::newRow("outside latin1") << "a>b \u0100\u3042" << QByteArray("a>b ??\n");
}

void TestAMsg::encodeLine()
{
    QFETCH(QString, line);
    QFETCH(QByteArray, bytes);
    const QByteArray out = TolvaProto::encodeLine(line);
    QCOMPARE(out, bytes);
    QCOMPARE(out.count('\n'), 1);
}

void TestAMsg::keyIndex_data()
{
    QTest::addColumn<QString>("challenge");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("index");
    QTest::newRow("7 mod 3") << "7" << 3 << 1;
    QTest::newRow("blanks around") << "  7 \r\n" << 3 << 1;
    QTest::newRow("not a number") << "abc" << 3 << 0;
    QTest::newRow("number and text") << "7x" << 3 << 0;
    QTest::newRow("negative") << "-7" << 3 << 2;
    QTest::newRow("negative multiple") << "-9" << 3 << 0;
    QTest::newRow("large") << "2147483647" << 5 << 2;
    QTest::newRow("out of int range") << "99999999999" << 5 << 0;
    QTest::newRow("min int") << "-2147483648" << 7 << 5;
    QTest::newRow("one key") << "12345" << 1 << 0;
    QTest::newRow("no keys") << "7" << 0 << -1;
}

void TestAMsg::keyIndex()
{
    QFETCH(QString, challenge);
    QFETCH(int, count);
    QTEST(TolvaProto::keyIndexFor(challenge, count), "index");
}

void TestAMsg::loadKeys()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("k.key");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("alpha\n\n  beta   gamma \r\ndelta");
    f.close();
    bool opened = false;
    const QStringList keys = TolvaProto::loadKeys(path, &opened);
    QVERIFY(opened);
    QCOMPARE(keys, (QStringList{"alpha", "", "beta gamma", "delta"}));
    QVERIFY(TolvaProto::loadKeys(dir.filePath("missing"), &opened).isEmpty());
    QVERIFY(!opened);
    QCOMPARE(TolvaProto::keyReply("Tarnix", "beta gamma"), QByteArray("Tarnix beta gamma\n"));
}

QTEST_GUILESS_MAIN(TestAMsg)
#include "tst_amsg.moc"
