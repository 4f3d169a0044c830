#include "AMsg.h"
#include "TolvaProto.h"

#include <QTest>

namespace {

const int ans = int(AMsgKind::Ans), ev = int(AMsgKind::Event), ask = int(AMsgKind::Ask);

void row(const char *tag, const QString &text, const QString &from, const QString &fromCh,
         const QString &to, const QString &toCh, const QString &cmd, int kind = ask,
         const QStringList &params = {}, const QString &paramText = QString())
{
    QTest::newRow(tag) << text << true << from << fromCh << to << toCh << cmd << kind << params
                       << paramText;
}

void invalid(const char *tag, const QString &text)
{
    QTest::newRow(tag) << text << false << QString() << QString() << QString() << QString()
                       << QString() << int(AMsgKind::None) << QStringList() << QString();
}

} // namespace

class TestAMsg : public QObject
{
    Q_OBJECT
private slots:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        for (const char *c : {"from", "fromCh", "to", "toCh", "cmd"})
            QTest::addColumn<QString>(c);
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("params");
        QTest::addColumn<QString>("paramText");
        row("plain command", "Dorvan>Tarnix Hello", "Dorvan", "", "Tarnix", "", "Hello");
        row("answer with channel", "Dorvan.remote>Tarnix @GetBlockNum 3", "Dorvan.remote", "remote",
            "Tarnix", "", "GetBlockNum", ans, {"3"}, " 3");
        row("event with quoted item", "Dorvan>Tarnix _EvErrRemote \"Axis stop now\" x", "Dorvan",
            "", "Tarnix", "", "EvErrRemote", ev, {"Axis stop now", "x"}, " \"Axis stop now\" x");
        invalid("header only", "Dorvan>Tarnix");
        invalid("no > in first item", "Dorvan Tarnix Hello");
        invalid("empty line", "");
        invalid("blanks only", "   ");
        row("empty word", "Dorvan>Tarnix ", "Dorvan", "", "Tarnix", "", "");
        row("empty sender", ">Tarnix Hello", "", "", "Tarnix", "", "Hello");
        row("empty receiver", "Dorvan> Hello", "Dorvan", "", "", "", "Hello");
        row("crlf end", "Dorvan>Tarnix Hello\r\n", "Dorvan", "", "Tarnix", "", "Hello");
        row("stray cr and lf inside", "Dorvan>Tar\rnix _EvMov\ningCurTh 1", "Dorvan", "", "Tarnix",
            "", "EvMovingCurTh", ev, {"1"}, " 1");
        row("trailing blanks", "Dorvan>Tarnix Hello   ", "Dorvan", "", "Tarnix", "", "Hello", ask,
            {""}, "   ");
        row("param then trailing blank", "a>b Help Hello ", "a", "", "b", "", "Help", ask,
            {"Hello", ""}, " Hello ");
        row("double at", "Dorvan>Tarnix @@Hello", "Dorvan", "", "Tarnix", "", "@Hello", ans);
        row("underscore then at", "a>b _@X", "a", "", "b", "", "@X", ev);
        row("only first dot splits", "a.b.c>d.e.f Cmd", "a.b.c", "b.c", "d.e.f", "e.f", "Cmd");
        row("only first > splits", "a>b>c Cmd", "a", "", "b>c", "", "Cmd");
        row("several params, tabs", "Tarnix>Dorvan.remote SetBlock 0\t8779  8800 0 1.5 100",
            "Tarnix", "", "Dorvan.remote", "remote", "SetBlock", ask,
            {"0", "8779", "8800", "0", "1.5", "100"}, " 0\t8779  8800 0 1.5 100");
        row("quoted header", "\"a>b c\" Hello", "a", "", "b c", "", "Hello");
        row("unterminated quote param", "a>b Cmd \"open end", "a", "", "b", "", "Cmd", ask,
            {"open end"}, " \"open end");
        row("leading blanks", "  a>b  Hello", "a", "", "b", "", "Hello");
        row("utf8 text", "a>b Cmd \u00e9t\u00e9", "a", "", "b", "", "Cmd", ask, {"\u00e9t\u00e9"},
            " \u00e9t\u00e9");
    }

    void parse()
    {
        QFETCH(QString, text);
        QFETCH(QString, from);
        QFETCH(QString, fromCh);
        QFETCH(QString, to);
        QFETCH(QString, toCh);
        QFETCH(QStringList, params);
        AMsg m;
        QTEST(m.parse(text), "valid");
        QTEST(m.valid, "valid");
        QCOMPARE(m.from, from);
        QCOMPARE(m.fromCh, fromCh);
        QCOMPARE(m.to, to);
        QCOMPARE(m.toCh, toCh);
        // The node is what stands before the channel and its dot.
        QCOMPARE(m.fromNode, from.left(from.size() - (fromCh.isEmpty() ? 0 : fromCh.size() + 1)));
        QCOMPARE(m.toNode, to.left(to.size() - (toCh.isEmpty() ? 0 : toCh.size() + 1)));
        QCOMPARE(m.fromAddr, from);
        QCOMPARE(m.toAddr, to);
        QTEST(m.cmd, "cmd");
        QTEST(int(m.kind), "kind");
        QCOMPARE(m.params, params);
        QTEST(m.paramText, "paramText");
        QCOMPARE(m.firstParam, params.value(0));
        QCOMPARE(m.line, QString(text).remove(QLatin1Char('\r')).remove(QLatin1Char('\n')));
        if (m.valid) {
            QCOMPARE(m.header, m.from + ">" + m.to);
            QVERIFY(m.body.startsWith(QLatin1Char(' ')) || m.body.startsWith(QLatin1Char('\t')));
        }
        QCOMPARE(m.cmdId, -1); // parse never looks the word up
    }

    void encodeLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("plain") << "a>b X" << QByteArray("a>b X\n");
        QTest::newRow("lf inside") << "a>b X\nb>c Forged" << QByteArray("a>b X b>c Forged\n");
        QTest::newRow("crlf inside") << "a>b X\r\ny" << QByteArray("a>b X  y\n");
        QTest::newRow("latin1") << "a>b \u00e9" << QByteArray("a>b \xe9\n");
        QTest::newRow("outside latin1") << "a>b \u0100\u3042" << QByteArray("a>b ??\n");
    }

    void encodeLine()
    {
        QFETCH(QString, line);
        const QByteArray out = TolvaProto::encodeLine(line);
        QTEST(out, "bytes");
        QCOMPARE(out.count('\n'), 1);
    }

    void keyIndex_data()
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

    void keyIndex()
    {
        QFETCH(QString, challenge);
        QFETCH(int, count);
        QTEST(TolvaProto::keyIndexFor(challenge, count), "index");
    }
};

QTEST_GUILESS_MAIN(TestAMsg)
#include "tst_amsg.moc"
