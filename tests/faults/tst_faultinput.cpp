// Bad input: schedule and block-definition files of random bytes (fixed
// seeds). Bad files give entries with their errors shown; the window stays
// usable and nothing crashes.
#include "Body.h"
#include "ConfigStore.h"
#include "LogArea.h"
#include "OptionTables.h"
#include "ScheduleEdit.h"
#include "TestSupport.h"
#include "XrayDataBase.h"

#include <QDir>
#include <QFile>
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
    for (int i = 0; i < count; ++i) {
        const int n = rng.bounded(8);
        for (int j = 0; j < n; ++j) {
            const int pick = rng.bounded(tokens.size() + 3);
            if (pick < tokens.size())
                out += tokens.at(pick);
            else if (pick == tokens.size())
                out += QByteArray::number(qint64(rng.generate64()) >> rng.bounded(64));
            else
                out += char(rng.bounded(256));
            out += sep;
        }
        out += '\n';
    }
    return out;
}

using TestSupport::writeFile;

} // namespace

class TestFaultInput : public QObject
{
    Q_OBJECT

private slots:
    // The example configuration, without the bus.
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(xrayDataBase().load(QStringLiteral(":XrayDataBase2.txt")));
        QVERIFY(config().readFile(QStringLiteral(SKEDRA_SOURCE_DIR "/examples/beamline.cfg")));
        config().readText(QStringLiteral("CONNECT_TO_TOLVA 0\nROOT_DIR %1\n").arg(m_dir.path()));
        buildOptionTables(config());
    }

    void randomFile_data();
    void randomFile();

private:
    TestSupport::WorkDir m_dir;
};

void TestFaultInput::randomFile_data()
{
    QTest::addColumn<QString>("name"); // a schedule or block-definition file
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("schedule") << "r.csv" << tokenLines(22, 200, kEntryWords, ',');
    QTest::newRow("block file") << "r.prm" << tokenLines(42, 300, kBlockWords, ' ');
}

// A broken schedule gives entries
// that show their errors on their error buttons; a broken block file is read
// without messages (bad numbers read as 0) and leaves the block counts within
// their limits. The entry can still be saved, and the window used.
void TestFaultInput::randomFile()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QVERIFY(writeFile(name, bytes));
    Body body;
    const bool csv = name.endsWith(QLatin1String(".csv"));
    body.loadScheduleFrom(csv ? name
                              : QStringLiteral(SKEDRA_SOURCE_DIR "/examples/demo-schedule.csv"));
    QVERIFY(!body.schedule().isEmpty());
    int withErrors = 0;
    for (ScheduleEdit *e : body.schedule()) {
        QCOMPARE(e->ui.Errors->styleSheet().isEmpty(), e->entry().errors.isEmpty());
        withErrors += e->entry().errors.isEmpty() ? 0 : 1;
    }
    QVERIFY(!csv || withErrors > 0);

    body.ui.NewAtBottom->click();
    ScheduleEdit *e = body.schedule().last();
    if (name.endsWith(QLatin1String(".prm")))
        e->loadBlockFile(name);
    for (int scan : {0, 1, 0}) {
        e->ui.ScanType->setCurrentIndex(scan);
        QVERIFY(e->ui.Blocks->value() >= e->ui.Blocks->minimum());
        QVERIFY(e->ui.Blocks->value() <= e->ui.Blocks->maximum());
        // What it would write to a schedule file reads back with the same
        // settings (standard blocks are made anew from their type).
        ScheduleEdit back;
        QStringList errors, warnings;
        back.fromStringList(e->toStringList(), errors, warnings);
        QCOMPARE(back.toStringList().mid(0, 18), e->toStringList().mid(0, 18));
    }
    e->saveBlockFile(QStringLiteral("again.prm"));
    QVERIFY(QFile::exists(QStringLiteral("again.prm")));
    body.ui.Clear->click();
    QVERIFY(body.schedule().isEmpty());
}

QTEST_MAIN(TestFaultInput)
#include "tst_faultinput.moc"
