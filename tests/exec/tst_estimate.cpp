// SPDX-License-Identifier: GPL-3.0-or-later
// The one estimate: the model's parts, calibration from the machine's time, spread, deadline.
#include "BlockFile.h"
#include "ConfigStore.h"
#include "EntryPlanEnv.h"
#include "RunEstimate.h"
#include "RunJournal.h"
#include "TestSupport.h"

#include <QtTest>

#include <functional>

using Edit = std::function<void(Entry &)>;
// {seconds / model, operator wait, target wait[, 1: failed 2: no model or estimate, nights ago]}
using History = QList<QList<double>>;

namespace {

const QDateTime kNight(QDate(2026, 12, 6), QTime(22, 0), Qt::OffsetFromUTC, 9 * 3600);
const Estimate::Params kParams{0.5, 30, 20, 10, 1};

void stepBlocks(Entry &e)
{
    e.selectScanType(EntryRows::StepScan);
    EntryPlanEnv::setUserBlocks(e, 0, {"8900", "9000", "9100"}, {10, 20}, "2, 3");
}

} // namespace

class TstEstimate : public QObject
{
    Q_OBJECT
    TestSupport::WorkDir m_dir;

private slots:
    void initTestCase() { QVERIFY(EntryPlanEnv::setUp()); }

    // The defaults' quick scan takes 300 s, step blocks 10 × 2.5 + 20 × 3.5 s; each entry 1 s more.
    void model_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<bool>("first");     // nothing measured before it
        QTest::addColumn<QString>("holder"); // of the entry above
        QTest::addColumn<double>("seconds");
        const Edit none = [](Entry &) {};
        QTest::newRow("first of a run: every move") << none << true << "1" << 351.0;
        QTest::newRow("same place: no move") << none << false << "1" << 301.0;
        QTest::newRow("other holder") << none << false << "2" << 321.0;
        QTest::newRow("dark") << Edit([](Entry &e) { e.measDark = 1; }) << false << "1" << 311.0;
        QTest::newRow("step blocks") << Edit(stepBlocks) << false << "1" << 96.0;
        // The file's blocks are what the engine sends, not the entry's own.
        QTest::newRow("file blocks") << Edit([this](Entry &e) {
            stepBlocks(e);
            const QString path = m_dir.filePath(QStringLiteral("b.prm"));
            QVERIFY(BlockFile::write(path, e).ok);
            EntryPlanEnv::setUserBlocks(e, 0, {"8900", "9000", "9100"}, {1, 1}, "2, 3");
            e.blockDefType = EntryRows::FileBlocks;
            e.blockDefFile = path;
        }) << false << "1" << 96.0;
    }
    void model()
    {
        QFETCH(Edit, edit);
        QFETCH(bool, first);
        QFETCH(QString, holder);
        Entry e = EntryPlanEnv::entry("Cu", "1");
        edit(e);
        Entry above = e;
        above.holder = holder;
        above.measDark = 0;
        QTEST(RunEstimate::model(e, first ? nullptr : &above, kParams), "seconds");
    }

    // A run's list is estimated as it is run: each entry after the ticked entry above it; with
    // the figures of the settings, where 0 replaces a default and what is no number leaves it.
    void listAndSettings()
    {
        const QList<Entry> list{EntryPlanEnv::entry("Cu", "1"),
                                EntryPlanEnv::entry("Fe", "2", false),
                                EntryPlanEnv::entry("Cu", "1")};
        const auto figures = RunEstimate::estimateList(list, kParams, {});
        QCOMPARE(figures.at(2).model, 301.0); // at the first one's place: no move
        ConfigStore store;
        store.readText(QStringLiteral("EST_DARK 0\nEST_MOVE x\n"));
        QCOMPARE(Estimate::Params::fromConfig(store).dark, 0.0);
        QCOMPARE(Estimate::Params::fromConfig(store).move, Estimate::Params().move);
    }

    // Rows of one kind: the model's time times a factor plus its waits; only the factor counts.
    void calibration_data()
    {
        QTest::addColumn<History>("history");
        QTest::addColumn<double>("ratio");
        QTest::addColumn<double>("spread"); // of the model's time; -1: none shown
        QTest::newRow("prompt waits and target away left out")
            << History{{1.2, 5.9, 30}, {1.2, 600, 0}, {1.2, 2, 100}} << 1.2 << 0.0;
        QTest::newRow("failed, unmodelled and older than five nights left out")
            << History{{1.2, 0, 0, 0, 0}, {1.2, 0, 0, 0, 1}, {1.2, 0, 0, 0, 2}, {1.2, 0, 0, 0, 3},
                       {1.2, 0, 0, 0, 4}, {9, 0, 0, 0, 9},   {9, 0, 0, 1},      {9, 0, 0, 2}}
            << 1.2 << 0.0;
        QTest::newRow("spread from history")
            << History{{0.9, 0, 0}, {1.1, 0, 0}, {1.0, 0, 0}} << 1.0 << 0.1;
        QTest::newRow("too little of the kind: its scan type, no spread")
            << History{{2.0, 0, 0}, {1.6, 0, 0}} << 1.8 << -1.0;
    }
    void calibration()
    {
        QFETCH(History, history);
        const Entry e = EntryPlanEnv::entry("Cu", "1");
        const double model = RunEstimate::model(e, &e, kParams);
        QList<JournalRow> rows;
        for (const QList<double> &h : history) {
            JournalRow r;
            r.run = kNight.addDays(-qint64(h.value(4)));
            r.entry = int(rows.size()) + 1;
            r.scan = scanName(e);
            r.element = e.elementSymbol();
            r.edge = e.targetCore;
            r.model = h.value(3) == 2 ? 0 : model;
            r.operatorWait = h.at(1);
            r.targetWait = h.at(2);
            r.seconds = model * h.at(0) + h.at(1) + h.at(2);
            r.estimated = h.value(3) == 2 ? 0 : 12345; // what was shown then teaches nothing
            r.outcome = QLatin1String(h.value(3) == 1 ? "failed" : "done");
            rows << r;
        }
        const Estimate::Figure f =
            RunEstimate::estimate(e, &e, kParams, RunEstimate::Calibration::fromJournal(rows));
        QFETCH(double, ratio);
        QFETCH(double, spread);
        QVERIFY2(qAbs(f.seconds - model * ratio) < 1e-6, qPrintable(QString::number(f.seconds)));
        QCOMPARE(f.hasSpread(), spread >= 0);
        if (spread >= 0)
            QVERIFY2(qAbs(f.spread - model * spread) < 1e-6, qPrintable(QString::number(f.spread)));
    }

    // An entry is begun only when it ends by the deadline, spread included; a start time is the
    // next such time of day.
    void clock()
    {
        const QDateTime hourLeft = kNight.addSecs(3600);
        QVERIFY(RunEstimate::fits(kNight, {3000, -1}, hourLeft));
        QVERIFY(!RunEstimate::fits(kNight, {3601, -1}, hourLeft));
        QVERIFY(!RunEstimate::fits(kNight, {3500, 240}, hourLeft)); // the spread tips it
        QVERIFY(!RunEstimate::fits(kNight, {1, -1}, kNight));       // the deadline passed
        QVERIFY(RunEstimate::fits(kNight, {1e9, -1}, QDateTime())); // no deadline
        const auto next = [](const char *text) {
            return RunEstimate::nextAt(kNight, RunEstimate::clockTime(QString::fromLatin1(text)));
        };
        QCOMPARE(next("6:00"), kNight.addSecs(8 * 3600)); // after midnight
        QCOMPARE(next("23:30"), kNight.addSecs(90 * 60));
        QCOMPARE(next("22:00"), kNight.addDays(1)); // now: tomorrow
    }
};

QTEST_GUILESS_MAIN(TstEstimate)
#include "tst_estimate.moc"
