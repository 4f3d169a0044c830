// Unsaved edits survive a crash: the window that dies without closing leaves
// them in the recovery file, the next window offers them, and a normal save
// or load removes the file. A run cut short is offered for resuming.
#include "Body.h"
#include "ConfigStore.h"
#include "OptionTables.h"
#include "RunJournal.h"
#include "RunRecovery.h"
#include "ScheduleEdit.h"
#include "XrayDataBase.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TestRecovery : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir::setCurrent(m_dir.path()));
        QVERIFY(xrayDataBase().load(QStringLiteral(":XrayDataBase2.txt")));
        ConfigStore &cfg = config();
        QVERIFY(cfg.readFile(QStringLiteral(SKEDRA_SOURCE_DIR "/examples/beamline.cfg")));
        cfg.readText(QStringLiteral("CONNECT_TO_TOLVA 0\n"));
        buildOptionTables(cfg);
    }

    void editsKeptAcrossACrash_data()
    {
        QTest::addColumn<bool>("load");
        QTest::newRow("loaded") << true;
        QTest::newRow("declined") << false;
    }
    void editsKeptAcrossACrash()
    {
        QFETCH(bool, load);
        auto first = std::make_unique<Body>();
        QVERIFY(!first->saveRecovery()); // nothing to keep yet
        first->ui.NewAtBottom->click();
        first->ui.NewAtBottom->click();
        Entry e = first->schedule().at(1)->entry();
        e.sampleId = QStringLiteral("edited");
        first->schedule().at(1)->setEntry(e);
        QVERIFY(first->saveRecovery());
        first.reset(); // dies without closing, as a killed program does

        Body second;
        QStringList asked;
        second.setAsk([&asked, load](const QString &q) {
            asked << q;
            return load;
        });
        second.recoverAtStartup(true);
        QCOMPARE(asked.size(), 1);
        QCOMPARE(second.schedule().size(), load ? 2 : 0);
        QCOMPARE(QFile::exists(second.recoveryPath()), load);
        if (!load)
            return;
        QCOMPARE(second.schedule().at(1)->entry().sampleId, QStringLiteral("edited"));
        QVERIFY(second.entriesChanged()); // still to be saved
        // Loading a schedule file normally ends the recovery file's job.
        QFile csv(QStringLiteral("saved.csv"));
        QVERIFY(csv.open(QIODevice::WriteOnly));
        csv.close();
        second.ui.ClearOnLoad->setChecked(true);
        second.setAsk([](const QString &) { return true; });
        QVERIFY(second.loadScheduleFrom(QStringLiteral("saved.csv")));
        QVERIFY(!QFile::exists(second.recoveryPath()));
    }

    // The window offers the run cut short; resuming loads its copy with the
    // done entry unticked and starts at the entry that was running.
    void resumeOffered_data()
    {
        QTest::addColumn<int>("choice");
        QTest::addColumn<QList<bool>>("ticked"); // -1: declined
        QTest::newRow("from the running entry") << 0 << QList<bool>{false, true, true};
        QTest::newRow("from the next entry") << 1 << QList<bool>{false, false, true};
        QTest::newRow("declined") << 2 << QList<bool>{};
    }
    void resumeOffered()
    {
        QFETCH(int, choice);
        QFETCH(QList<bool>, ticked);
        QTemporaryDir dir;
        const QString journal = dir.filePath(QStringLiteral("journal.csv"));
        config().readText(QStringLiteral("JOURNAL \"%1\"\n").arg(journal));
        const QDateTime run = QDateTime::currentDateTime().addSecs(-3600);
        const QString copy = RunRecovery::copyPathFor(journal, run);
        QList<Entry> entries(3);
        QString error;
        QVERIFY(RunRecovery::writeCopy(copy, entries, {1, 2, 3}, &error));
        QVERIFY(RunJournal::append(journal, RunRecovery::startedRow(run, copy), &error));
        JournalRow done;
        done.run = run;
        done.entry = 1;
        done.outcome = QStringLiteral("done");
        QVERIFY(RunJournal::append(journal, done, &error));

        Body body;
        QStringList offered;
        body.setChoose([&offered, choice](const QString &, const QStringList &choices) {
            offered = choices;
            return choice;
        });
        body.recoverAtStartup(true);
        QCOMPARE(offered.size(), 3);
        QCOMPARE(body.schedule().size(), ticked.size());
        for (int i = 0; i < ticked.size(); ++i)
            QCOMPARE(body.schedule().at(i)->entry().exec, ticked.at(i));
        QCOMPARE(body.runGoing(), !ticked.isEmpty());
        // Declined, or resumed and then closed on purpose: nothing is left
        // for the next start to offer.
        body.setAsk([](const QString &) { return true; });
        body.close();
        QVERIFY(!RunRecovery::lastUnfinished(RunJournal::read(journal), journal).found);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
