// SPDX-License-Identifier: GPL-3.0-or-later
// Schedule and block-definition files of random bytes (fixed seeds): nothing crashes.
#include "Body.h"
#include "ConfigStore.h"
#include "OptionTables.h"
#include "ScheduleEdit.h"
#include "TestSupport.h"
#include "XrayDataBase.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

// clang-format off
const QList<QByteArray> kEntryWords{
    "1", "-5", "Cu", "Zn", "Xx", "K", "L3", "Quick", "Step", "Trans", "Fluo", "Std", "File",
    "User", "XAFS", "eV", "keV", "A", "deg", "R-300", "R+", "\"1,1\"", "\"", "\"\"", "Y", "-",
    "9999999", "1e308", "nan", ""};
const QList<QByteArray> kBlockWords{
    "QN", "SN", "QB", "SB", "U", "N", "B", "0", "1", "3", "-1", "R-300", "R", "8979", "1e308",
    "-1e308", "nan", "inf", "99999999", "x", "9809"};
// clang-format on

// Lines of tokens, numbers and stray bytes.
QByteArray tokenLines(quint32 seed, int count, const QList<QByteArray> &tokens, char sep)
{
    QRandomGenerator rng(seed);
    QByteArray out;
    for (int i = 0; i < count; ++i, out += '\n')
        for (int j = rng.bounded(8); j > 0; --j) {
            const int pick = rng.bounded(tokens.size() + 3);
            out += (pick < tokens.size() ? tokens.at(pick)
                    : pick == tokens.size()
                        ? QByteArray::number(qint64(rng.generate64()) >> rng.bounded(64))
                        : QByteArray(1, char(rng.bounded(256)))) +
                   sep;
        }
    return out;
}

} // namespace

class TestFaultInput : public QObject
{
    Q_OBJECT

private slots:
    // The example configuration, without the bus.
    void initTestCase()
    {
        QVERIFY(m_dir.isValid() && xrayDataBase().load(QStringLiteral(":XrayDataBase2.txt")));
        QVERIFY(config().readFile(QStringLiteral(SKEDRA_SOURCE_DIR "/examples/beamline.cfg")));
        config().readText(QStringLiteral("CONNECT_TO_TOLVA 0\nROOT_DIR %1\n").arg(m_dir.path()));
        buildOptionTables(config());
    }
    void randomFile_data()
    {
        QTest::addColumn<QString>("name"); // a schedule or block-definition file
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("schedule") << "r.csv" << tokenLines(22, 200, kEntryWords, ',');
        QTest::newRow("block file") << "r.prm" << tokenLines(42, 300, kBlockWords, ' ');
    }
    // Each broken entry can be shown; a broken block file keeps block counts within their limits.
    void randomFile()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QVERIFY(TestSupport::writeFile(name, bytes));
        Body body;
        const bool csv = name.endsWith(QLatin1String(".csv"));
        body.loadScheduleFrom(
            csv ? name : QStringLiteral(SKEDRA_SOURCE_DIR "/examples/demo-schedule.csv"));
        ScheduleEdit *e = body.entryEditor();
        for (int row = 0; row < body.scheduleModel()->count(); ++row)
            body.setCurrentRow(row);
        body.click(Body::Button::NewAtBottom);
        if (!csv)
            e->loadBlockFile(name);
        for (int scan : {0, 1, 0}) {
            e->selector(EntryColumns::ScanType)->setCurrentIndex(scan);
            QVERIFY(e->entry().blocks >= 0 && e->entry().blocks <= BlockSet::maxBlocks);
            // Written to a schedule file, it reads back the same (standard blocks made anew).
            ScheduleEdit back;
            QStringList errors, warnings;
            back.fromStringList(e->toStringList(), errors, warnings);
            QCOMPARE(back.toStringList().mid(0, 18), e->toStringList().mid(0, 18));
        }
    }

private:
    TestSupport::WorkDir m_dir;
};

QTEST_MAIN(TestFaultInput)
#include "tst_faultinput.moc"
