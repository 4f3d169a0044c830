#include "Prompter.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

class TstPrompter : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void promptForm();
    void addShowsWindowAndCounts();
    void confirmReportsTypeAndRemoves_data();
    void confirmReportsTypeAndRemoves();
    void lastOkHidesAndReportsZero();
    void doubleClickConfirmsOnce();
    void askStat();
};

void TstPrompter::initTestCase()
{
    qRegisterMetaType<PromptType>("PromptType");
}

void TstPrompter::promptForm()
{
    Prompt p;
    QCOMPARE(p.objectName(), QStringLiteral("Prompt"));
    QCOMPARE(p.windowTitle(), QStringLiteral("Prompt"));
    QCOMPARE(p.ui.PromptMsg->text(), QStringLiteral("Prompt Msg."));
    QCOMPARE(p.ui.PromptOk->text(), QStringLiteral("OK"));
    QCOMPARE(p.pType(), PromptNone);
    Prompt q(QStringLiteral("Change it"), PromptMono);
    QCOMPARE(q.ui.PromptMsg->text(), QStringLiteral("Change it"));
    QCOMPARE(q.pType(), PromptMono);
    QSignalSpy ok(&q, &Prompt::ok);
    QTest::mouseClick(q.ui.PromptOk, Qt::LeftButton);
    QCOMPARE(ok.count(), 1);
}

void TstPrompter::addShowsWindowAndCounts()
{
    Prompter w;
    QCOMPARE(w.objectName(), QStringLiteral("Prompter"));
    QVERIFY(!w.isVisible());
    QSignalSpy stat(&w, &Prompter::stat);
    QSignalSpy changed(&w, &Prompter::changedMsgs);
    w.addPrompt(QStringLiteral("first"), PromptICGases);
    QVERIFY(w.isVisible());
    QCOMPARE(changed.count(), 1);
    QCOMPARE(stat.count(), 1);
    QCOMPARE(stat.last().at(0).toInt(), 1);
    w.addPrompt(QStringLiteral("second"), PromptHOCM);
    QCOMPARE(stat.last().at(0).toInt(), 2);
    QCOMPARE(w.count(), 2);
    // Arrival order, each below the earlier ones.
    QCOMPARE(w.openPrompts().at(0)->msg(), QStringLiteral("first"));
    QCOMPARE(w.openPrompts().at(1)->msg(), QStringLiteral("second"));
    int row0 = -1, row1 = -1, c, rs, cs;
    w.ui.PrompterLayout->getItemPosition(w.ui.PrompterLayout->indexOf(w.openPrompts().at(0)), &row0,
                                         &c, &rs, &cs);
    w.ui.PrompterLayout->getItemPosition(w.ui.PrompterLayout->indexOf(w.openPrompts().at(1)), &row1,
                                         &c, &rs, &cs);
    QVERIFY(row0 >= 0);
    QVERIFY(row1 > row0);
}

void TstPrompter::confirmReportsTypeAndRemoves_data()
{
    QTest::addColumn<int>("which");
    QTest::newRow("gases") << 0;
    QTest::newRow("mirror") << 1;
    QTest::newRow("mono") << 2;
}

void TstPrompter::confirmReportsTypeAndRemoves()
{
    QFETCH(int, which);
    Prompter w;
    w.addPrompt(QStringLiteral("g"), PromptICGases);
    w.addPrompt(QStringLiteral("h"), PromptHOCM);
    w.addPrompt(QStringLiteral("m"), PromptMono);
    QSignalSpy ok(&w, &Prompter::ok);
    QSignalSpy stat(&w, &Prompter::stat);
    Prompt *p = w.openPrompts().at(which);
    QPointer<Prompt> guard(p);
    QTest::mouseClick(p->ui.PromptOk, Qt::LeftButton);
    QCOMPARE(ok.count(), 1);
    QCOMPARE(ok.at(0).at(0).value<PromptType>(), PromptType(which));
    QCOMPARE(w.count(), 2);
    QVERIFY(!w.openPrompts().contains(p));
    QCOMPARE(stat.last().at(0).toInt(), 2);
    QVERIFY(w.isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(guard.isNull(), 10000); // deleted later, not at once
}

void TstPrompter::lastOkHidesAndReportsZero()
{
    Prompter w;
    w.addPrompt(QStringLiteral("only"), PromptMono);
    QSignalSpy stat(&w, &Prompter::stat);
    QTest::mouseClick(w.openPrompts().at(0)->ui.PromptOk, Qt::LeftButton);
    QVERIFY(!w.isVisible());
    QCOMPARE(stat.count(), 1);
    QCOMPARE(stat.at(0).at(0).toInt(), 0);
}

void TstPrompter::doubleClickConfirmsOnce()
{
    Prompter w;
    w.addPrompt(QStringLiteral("a"), PromptHOCM);
    w.addPrompt(QStringLiteral("b"), PromptMono);
    QSignalSpy ok(&w, &Prompter::ok);
    Prompt *p = w.openPrompts().at(0);
    emit p->ok();
    emit p->ok(); // before the deferred deletion has run
    QCOMPARE(ok.count(), 1);
    QCOMPARE(w.count(), 1);
}

void TstPrompter::askStat()
{
    Prompter w;
    QSignalSpy stat(&w, &Prompter::stat);
    w.askStat();
    QCOMPARE(stat.count(), 1);
    QCOMPARE(stat.at(0).at(0).toInt(), 0);
}

QTEST_MAIN(TstPrompter)
#include "tst_prompter.moc"
