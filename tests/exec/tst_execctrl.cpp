#include "ExecCtrl.h"

#include <QEvent>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

namespace {

// Counts style changes of one widget, so that a test can tell whether a
// style sheet was set again.
class StyleChangeCounter : public QObject
{
public:
    using QObject::QObject;
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::StyleChange)
            ++count;
        return false;
    }
};

const char *const kNames[] = {"TargetReady",     "SHolderMoving",  "MainThMoving",
                              "ICGasesChanging", "HOCMChanging",   "MonoChanging",
                              "DarkMeasuring",   "InXAFSMeas",     "ErrStartingXafsMeas",
                              "ErrRemote",       "ErrSHolderMove", "BusyAskingBlockNum"};

} // namespace

class TstExecCtrl : public QObject
{
    Q_OBJECT
private slots:
    void freshPanelIsOff();
    void indicatorNames_data();
    void indicatorNames();
    void setFlagTurnsOnAndOff();
    void sameValueLeavesStyleAlone();
    void emptyErrorMessage();
    void updatesFromAnotherThreadArriveInOrder();
};

void TstExecCtrl::freshPanelIsOff()
{
    ExecCtrl p;
    for (int f = 0; f < ExecCtrl::FlagCount; ++f) {
        QVERIFY(!p.flag(ExecCtrl::Flag(f)));
        QCOMPARE(p.indicator(ExecCtrl::Flag(f))->styleSheet(), ExecCtrl::offStyle());
    }
    QCOMPARE(p.ui.ErrMsg->text(), QString());
    QCOMPARE(p.ui.ErrRemoteMsg->text(), QString());
    QCOMPARE(p.objectName(), QStringLiteral("ExecCtrl"));
    QCOMPARE(p.ui.TargetReady->frameShadow(), QFrame::Plain);
}

void TstExecCtrl::indicatorNames_data()
{
    QTest::addColumn<int>("flag");
    QTest::addColumn<QString>("name");
    for (int f = 0; f < ExecCtrl::FlagCount; ++f)
        QTest::newRow(kNames[f]) << f << QString::fromLatin1(kNames[f]);
}

void TstExecCtrl::indicatorNames()
{
    QFETCH(int, flag);
    QFETCH(QString, name);
    ExecCtrl p;
    QLabel *l = p.indicator(ExecCtrl::Flag(flag));
    QVERIFY(l);
    QCOMPARE(l->objectName(), name);
    QCOMPARE(p.findChild<QLabel *>(name), l);
}

void TstExecCtrl::setFlagTurnsOnAndOff()
{
    ExecCtrl p;
    p.setFlag(ExecCtrl::InXAFSMeas, true);
    QVERIFY(p.flag(ExecCtrl::InXAFSMeas));
    QCOMPARE(p.ui.InXAFSMeas->styleSheet(), ExecCtrl::onStyle());
    QCOMPARE(p.ui.MainThMoving->styleSheet(), ExecCtrl::offStyle());
    p.setFlag(ExecCtrl::InXAFSMeas, false);
    QVERIFY(!p.flag(ExecCtrl::InXAFSMeas));
    QCOMPARE(p.ui.InXAFSMeas->styleSheet(), ExecCtrl::offStyle());
}

void TstExecCtrl::sameValueLeavesStyleAlone()
{
    ExecCtrl p;
    p.show(); // a widget that was never polished gets no style-change events
    QVERIFY(QTest::qWaitForWindowExposed(&p, 10000));
    StyleChangeCounter counter;
    p.ui.ErrRemote->installEventFilter(&counter);
    p.setFlag(ExecCtrl::ErrRemote, false);
    QCOMPARE(counter.count, 0);
    p.setFlag(ExecCtrl::ErrRemote, true);
    QVERIFY(counter.count > 0);
    const int afterOn = counter.count;
    p.setFlag(ExecCtrl::ErrRemote, true);
    p.setFlag(ExecCtrl::ErrRemote, true);
    QCOMPARE(counter.count, afterOn);
}

void TstExecCtrl::emptyErrorMessage()
{
    ExecCtrl p;
    p.setErrMsg(QStringLiteral("old"));
    p.setFlag(ExecCtrl::ErrStartingXafsMeas, true);
    p.setErrMsg(QString());
    QCOMPARE(p.ui.ErrStartingXafsMeas->styleSheet(), ExecCtrl::onStyle());
    QCOMPARE(p.ui.ErrMsg->text(), QString());
    p.setErrRemoteMsg(QStringLiteral(" Axis stop"));
    QCOMPARE(p.ui.ErrRemoteMsg->text(), QStringLiteral(" Axis stop"));
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
    QVERIFY(p.flag(ExecCtrl::SHolderMoving));
}

QTEST_MAIN(TstExecCtrl)
#include "tst_execctrl.moc"
