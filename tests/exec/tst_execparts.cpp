// The prompt window: each confirmation hands its prompt's type back once.
#include "Prompter.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

class TstExecParts : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { qRegisterMetaType<PromptType>("PromptType"); }
    void confirm_data();
    void confirm();
};

void TstExecParts::confirm_data()
{
    QTest::addColumn<int>("which");
    QTest::newRow("gases") << 0;
    QTest::newRow("mirror") << 1;
    QTest::newRow("mono") << 2;
}

void TstExecParts::confirm()
{
    QFETCH(int, which);
    Prompter w;
    QSignalSpy stat(&w, &Prompter::stat);
    QSignalSpy ok(&w, &Prompter::ok);
    w.askStat();
    QCOMPARE(stat.takeFirst().at(0).toInt(), 0);
    const QStringList texts{"g", "h", "m"};
    for (int i = 0; i < 3; ++i)
        w.addPrompt(texts.at(i), PromptType(i));
    QVERIFY(w.isVisible());
    QCOMPARE(stat.last().at(0).toInt(), 3);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(w.openPrompts().at(i)->msg(), texts.at(i));
    QPointer<Prompt> p = w.openPrompts().at(which);
    QTest::mouseClick(p->ui.PromptOk, Qt::LeftButton);
    emit p->ok(); // a second click before the deferred deletion has run
    QCOMPARE(ok.count(), 1);
    QCOMPARE(ok.at(0).at(0).value<PromptType>(), PromptType(which));
    QCOMPARE(w.count(), 2);
    QVERIFY(!w.openPrompts().contains(p.data()));
    QCOMPARE(stat.last().at(0).toInt(), 2);
    QTRY_VERIFY_WITH_TIMEOUT(p.isNull(), 10000); // deleted later, not at once
    while (w.count() > 0)
        QTest::mouseClick(w.openPrompts().at(0)->ui.PromptOk, Qt::LeftButton);
    QVERIFY(!w.isVisible());
    QCOMPARE(stat.last().at(0).toInt(), 0);
}

QTEST_MAIN(TstExecParts)
#include "tst_execparts.moc"
