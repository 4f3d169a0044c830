#include "AMsg.h"
#include "NodeCmdTable.h"
#include "Tolva.h"

#include <QTest>

class TestNodeCmdTable : public QObject
{
    Q_OBJECT
private slots:
    void clientTable_data();
    void clientTable();
    void clientTableOrder();
    void commandList();
    void duplicates();
    void commandListSkipsPrefixedAndEmpty();
    void checkParams_data();
    void checkParams();
};

void TestNodeCmdTable::clientTable_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("help");
    QTest::newRow("Hello") << "Hello" << 0 << "Answer greeting message";
    QTest::newRow("Help") << "Help" << 1 << "Show help message";
    QTest::newRow("IsBusy") << "IsBusy" << 2 << "Answer if Tarnix is busy";
    QTest::newRow("Connected") << "Connected" << 3 << "";
    QTest::newRow("Disconnected") << "Disconnected" << 4 << "";
    QTest::newRow("EvChangerMoving") << "EvChangerMoving" << 5 << "";
    QTest::newRow("EvMovingCurTh") << "EvMovingCurTh" << 6 << "";
    QTest::newRow("EvStartMeas") << "EvStartMeas" << 7 << "";
    QTest::newRow("EvEndMeas") << "EvEndMeas" << 8 << "";
    QTest::newRow("EvStartQMeas") << "EvStartQMeas" << 9 << "";
    QTest::newRow("EvEndQMeas") << "EvEndQMeas" << 10 << "";
    QTest::newRow("EvErrStartXAFSMeas") << "EvErrStartXAFSMeas" << 11 << "";
    QTest::newRow("EvErrRemote") << "EvErrRemote" << 12 << "";
    QTest::newRow("EvErrChangerMove") << "EvErrChangerMove" << 13 << "";
    QTest::newRow("listnodes") << "listnodes" << 14 << "";
    QTest::newRow("RemoteOn") << "RemoteOn" << 15 << "";
    QTest::newRow("GetBlockNum") << "GetBlockNum" << 16 << "";
    QTest::newRow("unknown") << "Foo" << int(NodeCmdTable::NotFoundId) << "";
    QTest::newRow("case matters") << "hello" << 18 << "";
    QTest::newRow("prefix not stripped") << "@Hello" << 18 << "";
    QTest::newRow("empty word") << "" << 18 << "";
    QTest::newRow("trailing blank") << "Hello " << 18 << "";
}

void TestNodeCmdTable::clientTable()
{
    QFETCH(QString, word);
    Tolva tolva;
    QTEST(int(tolva.nodeCmdTable().idOf(word)), "id");
    QTEST(tolva.nodeCmdTable().helpOf(word), "help");
}

void TestNodeCmdTable::clientTableOrder()
{
    Tolva tolva;
    const QList<CmdEntry> &rows = tolva.nodeCmdTable().rows();
    QCOMPARE(rows.size(), 17);
    QList<int> ids;
    for (const CmdEntry &r : rows)
        ids.append(r.id);
    QCOMPARE(ids, (QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15, 14, 16}));
}

void TestNodeCmdTable::commandList()
{
    Tolva tolva;
    QCOMPARE(tolva.nodeCmdTable().commandList(),
             QStringLiteral("Hello Help IsBusy Connected Disconnected EvChangerMoving "
                            "EvMovingCurTh EvStartMeas EvEndMeas EvStartQMeas EvEndQMeas "
                            "EvErrStartXAFSMeas EvErrRemote EvErrChangerMove RemoteOn listnodes "
                            "GetBlockNum"));
}

void TestNodeCmdTable::duplicates()
{
    Tolva tolva;
    NodeCmdTable t = tolva.nodeCmdTable();
    QTest::ignoreMessage(QtDebugMsg, "Duplicated id 3 \"Other\" \"\"");
    QVERIFY(!t.addCommand(3, QStringLiteral("Other"), QString()));
    QTest::ignoreMessage(QtDebugMsg, "Duplicated msg 40 \"Hello\" \"x\"");
    QVERIFY(!t.addCommand(40, QStringLiteral("Hello"), QStringLiteral("x")));
    QCOMPARE(t.size(), 17);
    QCOMPARE(t.idOf("Connected"), 3);
    QCOMPARE(t.helpOf("Hello"), QStringLiteral("Answer greeting message"));
    QVERIFY(t.addCommand(40, QStringLiteral("New"), QStringLiteral("n")));
    QCOMPARE(t.size(), 18);
    QCOMPARE(t.idOf("New"), 40);
}

void TestNodeCmdTable::commandListSkipsPrefixedAndEmpty()
{
    NodeCmdTable t;
    QVERIFY(t.addCommand(0, QStringLiteral("A"), QString()));
    QVERIFY(t.addCommand(1, QStringLiteral("@B"), QString()));
    QVERIFY(t.addCommand(2, QString(), QString()));
    QVERIFY(t.addCommand(3, QStringLiteral("_C"), QString()));
    QVERIFY(t.addCommand(4, QStringLiteral("D"), QString()));
    QCOMPARE(t.commandList(), QStringLiteral("A D"));
    QCOMPARE(t.idOf(QString()), 2); // the first matching row wins
}

void TestNodeCmdTable::checkParams_data()
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

void TestNodeCmdTable::checkParams()
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

QTEST_MAIN(TestNodeCmdTable)
#include "tst_nodecmdtable.moc"
