#include "LineFramer.h"

#include <QTest>

class TestLineFramer : public QObject
{
    Q_OBJECT
private slots:
    void framing_data()
    {
        QTest::addColumn<QList<QByteArray>>("chunks");
        QTest::addColumn<int>("maxLen");
        QTest::addColumn<QList<QByteArray>>("lines");
        QTest::addColumn<bool>("overflow");
        QTest::addColumn<int>("pending");

        using L = QList<QByteArray>;
        QTest::newRow("one line") << L{"a>b X\n"} << 100 << L{"a>b X\n"} << false << 0;
        QTest::newRow("two lines one segment")
            << L{"a>b X\nc>d Y\n"} << 100 << L{"a>b X\n", "c>d Y\n"} << false << 0;
        QTest::newRow("split across segments")
            << L{"a>b", " X", "\nc>"} << 100 << L{"a>b X\n"} << false << 2;
        L bytes;
        for (char c : QByteArray("Tarnix>Dorvan Hello\nDorvan>Tarnix @Hello Hi\n\nlast"))
            bytes.append(QByteArray(1, c));
        QTest::newRow("byte by byte")
            << bytes << 64 << L{"Tarnix>Dorvan Hello\n", "Dorvan>Tarnix @Hello Hi\n", "\n"} << false
            << 4;
        QTest::newRow("no line feed yet") << L{"partial"} << 100 << L{} << false << 7;
        QTest::newRow("empty lines") << L{"\n\n"} << 100 << L{"\n", "\n"} << false << 0;
        QTest::newRow("crlf kept for the parser") << L{"x\r\n"} << 100 << L{"x\r\n"} << false << 0;
        QTest::newRow("exactly the cap") << L{"1234", "\n"} << 4 << L{"1234\n"} << false << 0;
        QTest::newRow("pending over cap") << L{"0123456789A"} << 10 << L{} << true << 0;
        QTest::newRow("pending over cap in pieces")
            << L{"01234", "56789", "A"} << 10 << L{} << true << 0;
        QTest::newRow("long line with its lf in one chunk")
            << L{"ok\n0123456789AB\nnext\n"} << 10 << L{"ok\n"} << true << 0;
        QTest::newRow("zero bytes") << L{""} << 10 << L{} << false << 0;
    }

    void framing()
    {
        QFETCH(QList<QByteArray>, chunks);
        QFETCH(int, maxLen);
        LineFramer f(maxLen);
        QList<QByteArray> lines;
        bool overflow = false;
        for (const QByteArray &c : chunks) {
            f.append(c);
            QByteArray line;
            LineFramer::Result r;
            while ((r = f.take(&line)) == LineFramer::Line)
                lines.append(line);
            overflow = r == LineFramer::Overflow;
            if (overflow)
                break;
        }
        QTEST(lines, "lines");
        QTEST(overflow, "overflow");
        QTEST(int(f.pendingBytes()), "pending");
        QCOMPARE(f.overflowed(), overflow);
    }

    void overflowIsSticky()
    {
        LineFramer f(4);
        f.append("12345");
        QByteArray line;
        QCOMPARE(f.take(&line), LineFramer::Overflow);
        f.append("\nok\n");
        QCOMPARE(f.take(&line), LineFramer::Overflow);
        QCOMPARE(f.pendingBytes(), 0);
        f.clear();
        QVERIFY(!f.overflowed());
        f.append("ok\n");
        QCOMPARE(f.take(&line), LineFramer::Line);
        QCOMPARE(line, QByteArray("ok\n"));
    }

    void bufferStaysBounded()
    {
        // Many short lines in many reads: taken bytes must be released, so the
        // pending data never exceeds one read plus a partial line.
        LineFramer f;
        const QByteArray chunk = QByteArray("a>b _Ev 1\n").repeated(1000) + "a>b _E";
        QByteArray line;
        int count = 0;
        for (int i = 0; i < 50; ++i) {
            f.append(chunk);
            while (f.take(&line) == LineFramer::Line)
                ++count;
            QVERIFY(f.pendingBytes() < 16);
        }
        QCOMPARE(count, 50 * 1000);
    }
};

QTEST_GUILESS_MAIN(TestLineFramer)
#include "tst_lineframer.moc"
