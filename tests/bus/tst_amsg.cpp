#include "AMsg.h"
#include "TolvaProto.h"

#include <QTest>

namespace {

// The parsed fields in one list, so that a row states the whole result: the
// addresses with their channels, the kind mark and word, the items, the raw parameter text.
QStringList fields(const AMsg &m)
{
    if (!m.valid)
        return {};
    const char marks[] = {'@', '_', ' ', '?'};
    QStringList f{m.from, m.fromCh, m.fromNode, m.to, m.toCh, m.toNode};
    return f << QLatin1Char(marks[int(m.kind)]) + m.cmd << m.params << m.paramText;
}

void row(const char *tag, const QString &text, const QStringList &fields)
{
    QTest::newRow(tag) << text << fields;
}

} // namespace

class TestAMsg : public QObject
{
    Q_OBJECT
private slots:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("fields"); // empty: not a message
        const QStringList dt{"Dorvan", "", "Dorvan", "Tarnix", "", "Tarnix"};
        row("plain command", "Dorvan>Tarnix Hello", dt + QStringList{" Hello", ""});
        row("answer with channel", "Dorvan.remote>Tarnix @GetBlockNum 3",
            {"Dorvan.remote", "remote", "Dorvan", "Tarnix", "", "Tarnix", "@GetBlockNum", "3",
             " 3"});
        row("event with quoted item", "Dorvan>Tarnix _EvErrRemote \"Axis stop now\" x",
            dt + QStringList{"_EvErrRemote", "Axis stop now", "x", " \"Axis stop now\" x"});
        row("header only", "Dorvan>Tarnix", {});
        row("no > in first item", "Dorvan Tarnix Hello", {});
        row("empty line", "", {});
        row("empty word", "Dorvan>Tarnix ", dt + QStringList{" ", ""});
        row("crlf end", "Dorvan>Tarnix Hello\r\n", dt + QStringList{" Hello", ""});
        row("stray cr and lf inside", "Dorvan>Tar\rnix _EvMov\ningCurTh 1",
            dt + QStringList{"_EvMovingCurTh", "1", " 1"});
        row("trailing blanks", "Dorvan>Tarnix Hello   ", dt + QStringList{" Hello", "", "   "});
        row("double at", "Dorvan>Tarnix @@Hello", dt + QStringList{"@@Hello", ""});
        row("only first dot splits", "a.b.c>d.e.f Cmd",
            {"a.b.c", "b.c", "a", "d.e.f", "e.f", "d", " Cmd", ""});
        row("several params, tabs", "Tarnix>Dorvan.remote SetBlock 0\t8779  8800 0 1.5 100",
            {"Tarnix", "", "Tarnix", "Dorvan.remote", "remote", "Dorvan", " SetBlock", "0", "8779",
             "8800", "0", "1.5", "100", " 0\t8779  8800 0 1.5 100"});
        row("unterminated quote param", "a>b Cmd \"open end",
            {"a", "", "a", "b", "", "b", " Cmd", "open end", " \"open end"});
    }

    void parse()
    {
        QFETCH(QString, text);
        AMsg m;
        QCOMPARE(m.parse(text), m.valid);
        QTEST(fields(m), "fields");
        QCOMPARE(m.line, QString(text).remove(QLatin1Char('\r')).remove(QLatin1Char('\n')));
    }

    void keyIndex_data()
    {
        QTest::addColumn<QString>("challenge");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("index");
        QTest::newRow("not a number") << "abc" << 3 << 0;
        QTest::newRow("negative") << "-7" << 3 << 2;
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
