// The shipped example schedule reads without errors, keeps its fields when
// written back, and its block file loads.
#include "Csv.h"
#include "OneBlock.h"
#include "OneBlocks.h"
#include "ScheduleEdit.h"
#include "ScheduleTestEnv.h"

#include <QtTest>

class TestDemoSchedule : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase() { qDeleteAll(m_entries); }
    void readsWithoutErrors();
    void writtenBackReadsTheSame();
    void blockFileLoads();

private:
    QList<ScheduleEdit *> m_entries;
    QTemporaryDir m_dir;
};

void TestDemoSchedule::initTestCase()
{
    QVERIFY(ScheduleTestEnv::setUp());
    QVERIFY(m_dir.isValid());
    Csv().readCsv(QStringLiteral(SKEDRA_SOURCE_DIR "/examples/demo-schedule.csv"), m_entries);
}

void TestDemoSchedule::readsWithoutErrors()
{
    QVERIFY(m_entries.size() >= 5 && m_entries.size() <= 8);
    QSet<QString> elements;
    QSet<int> scans;
    QSet<int> setups;
    QSet<QString> holders;
    for (const ScheduleEdit *e : std::as_const(m_entries)) {
        QVERIFY2(e->errors.isEmpty(), qPrintable(e->errors.join("; ")));
        elements << e->elementSymbol();
        scans << e->ui.ScanType->currentIndex();
        setups << e->ui.BlockDefType->currentIndex();
        holders << e->ui.HolderNo->text();
    }
    QVERIFY(elements.size() >= 2);
    QCOMPARE(scans.size(), 2);
    QCOMPARE(setups.size(), 3);
    QCOMPARE(holders.size(), int(m_entries.size()));
}

void TestDemoSchedule::writtenBackReadsTheSame()
{
    const QString path = m_dir.filePath("demo.csv");
    Csv csv;
    csv.writeCsv(path, m_entries);
    QList<ScheduleEdit *> again;
    csv.readCsv(path, again);
    QCOMPARE(again.size(), m_entries.size());
    for (int i = 0; i < again.size(); ++i)
        QCOMPARE(again.at(i)->toStringList(), m_entries.at(i)->toStringList());
    qDeleteAll(again);
}

void TestDemoSchedule::blockFileLoads()
{
    ScheduleEdit *fileEntry = nullptr;
    for (ScheduleEdit *e : std::as_const(m_entries)) {
        if (e->ui.BlockDefType->currentIndex() == 1)
            fileEntry = e;
    }
    QVERIFY(fileEntry);
    const QString file = QStringLiteral(SKEDRA_SOURCE_DIR "/") + fileEntry->ui.BlockDefFile->text();
    QCOMPARE(ScheduleEdit::is9809(file), 0);
    fileEntry->loadBlockFile(file);
    QCOMPARE(fileEntry->quickBlocks->row(0)->pos, 6912.0);
    QCOMPARE(fileEntry->quickBlocks->row(1)->pos, 8112.0);
    QCOMPARE(fileEntry->quickBlocks->row(0)->pointsText(), QStringLiteral("2400"));
    QCOMPARE(fileEntry->stepBlockCount, 3);
    QCOMPARE(fileEntry->stepTimes, QStringLiteral("1, 2, 4"));
}

QTEST_MAIN(TestDemoSchedule)
#include "tst_demoschedule.moc"
