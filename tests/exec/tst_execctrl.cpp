// The status panel: indicators follow their flags, and updates from the
// engine's thread keep their order.
#include "ExecCtrl.h"

#include <QLabel>
#include <QTest>
#include <QThread>

class TstExecCtrl : public QObject
{
    Q_OBJECT
private slots:
    void flagsAndStyles();
    void updatesFromAnotherThreadArriveInOrder();
};

void TstExecCtrl::flagsAndStyles()
{
    ExecCtrl p;
    for (int f = 0; f < ExecCtrl::FlagCount; ++f)
        QCOMPARE(p.indicator(ExecCtrl::Flag(f))->styleSheet(), ExecCtrl::offStyle());
    p.setFlag(ExecCtrl::ErrRemote, true);
    QVERIFY(p.flag(ExecCtrl::ErrRemote));
    QCOMPARE(p.ui.ErrRemote->styleSheet(), ExecCtrl::onStyle());
    QCOMPARE(p.ui.MainThMoving->styleSheet(), ExecCtrl::offStyle());
    p.setFlag(ExecCtrl::ErrRemote, false);
    QCOMPARE(p.ui.ErrRemote->styleSheet(), ExecCtrl::offStyle());
}

void TstExecCtrl::updatesFromAnotherThreadArriveInOrder()
{
    ExecCtrl p;
    QThread *worker = QThread::create([&p] {
        // Last write wins only if the queued updates keep their order.
        for (int i = 0; i < 50; ++i) {
            p.setFlag(ExecCtrl::SHolderMoving, i % 2 == 1);
            p.setErrMsg(QString::number(i));
        }
    });
    worker->start();
    QVERIFY(worker->wait(10000));
    delete worker;
    // Nothing is applied before the GUI thread handles the queued calls.
    QCOMPARE(p.ui.SHolderMoving->styleSheet(), ExecCtrl::offStyle());
    QTRY_COMPARE_WITH_TIMEOUT(p.ui.ErrMsg->text(), QStringLiteral("49"), 10000);
    QCOMPARE(p.ui.SHolderMoving->styleSheet(), ExecCtrl::onStyle());
}

QTEST_MAIN(TstExecCtrl)
#include "tst_execctrl.moc"
