// The table of the words a node answers to: additions and parameter checks.
#include "AMsg.h"
#include "NodeCmdTable.h"
#include "TolvaSession.h"

#include <QTest>

class TestNodeCmdTable : public QObject
{
    Q_OBJECT
private slots:
    // The ids are the client's table's (the dispatch tests check them by
    // use); here, what additions may do to it.
    void additions()
    {
        NodeCmdTable t = TolvaSession().nodeCmdTable();
        QTest::ignoreMessage(QtDebugMsg, "Duplicated id 3 \"Other\" \"\"");
        QVERIFY(!t.addCommand(3, QStringLiteral("Other"), QString()));
        QTest::ignoreMessage(QtDebugMsg, "Duplicated msg 40 \"Hello\" \"x\"");
        QVERIFY(!t.addCommand(40, QStringLiteral("Hello"), QStringLiteral("x")));
        QCOMPARE(t.size(), 18);
        QCOMPARE(t.idOf("Connected"), 3);
        QCOMPARE(t.helpOf("Hello"), QStringLiteral("Answer greeting message"));
        QVERIFY(t.addCommand(40, QStringLiteral("New"), QStringLiteral("n")));
        QCOMPARE(t.idOf("New"), 40);

        // The command list leaves out empty words and answer or event words.
        NodeCmdTable own;
        for (const char *word : {"A", "@B", "", "_C", "D"})
            QVERIFY(own.addCommand(own.size(), QString::fromLatin1(word), QString()));
        QCOMPARE(own.commandList(), QStringLiteral("A D"));
        QCOMPARE(own.idOf(QString()), 2); // the first matching row wins
    }

    void checkParams_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("n");
        QTest::addColumn<bool>("eq");
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("answers");
        QTest::newRow("0 of 0") << "a>b X" << 0 << true << 0 << 0 << 0;
        QTest::newRow("1 of 0") << "a>b X 1" << 0 << false << -1 << 1 << 2;
        QTest::newRow("2 of 2") << "a>b X 1 2" << 2 << true << 2 << 2 << 0;
        QTest::newRow("1 of 2") << "a>b X 1" << 2 << false << 1 << -1 << 2;
        QTest::newRow("3 of 2") << "a>b X 1 2 3" << 2 << false << -1 << 3 << 2;
        QTest::newRow("blank counts") << "a>b X " << 1 << true << 1 << 1 << 0;
    }

    void checkParams()
    {
        QFETCH(QString, line);
        QFETCH(int, n);
        AMsg m;
        QVERIFY(m.parse(line));
        QStringList answers;
        const NodeCmdTable::Answer answer = [&answers](const AMsg &, const QString &a) {
            answers.append(a);
        };
        QTEST(NodeCmdTable::checkParamsEq(m, n, answer), "eq");
        QTEST(NodeCmdTable::checkParamsMax(m, n, answer), "max");
        QTEST(NodeCmdTable::checkParamsMin(m, n, answer), "min");
        QTEST(int(answers.size()), "answers");
        for (const QString &a : answers)
            QCOMPARE(a, QStringLiteral("Er: Number of Params shuld be %1").arg(n));
    }
};

QTEST_GUILESS_MAIN(TestNodeCmdTable)
#include "tst_nodecmdtable.moc"
