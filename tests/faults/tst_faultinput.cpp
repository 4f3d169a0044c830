// Bad input: a server that sends malformed lines, binary noise and overlong
// lines after the login, and schedule, configuration and block-definition
// files of random bytes (fixed seeds). Junk is dropped, an overlong line cuts
// the connection, bad files give entries with their errors shown; the client
// and the window stay usable and nothing crashes.
#include "Body.h"
#include "ConfigStore.h"
#include "ConnectStat.h"
#include "LineFramer.h"
#include "LogArea.h"
#include "OptionTables.h"
#include "ScheduleEdit.h"
#include "TestSupport.h"
#include "Tolva.h"
#include "XrayDataBase.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace {

constexpr int kWaitMs = 15000;
constexpr qsizetype kCap = LineFramer::DefaultMaxLineLength;

const QByteArray kMalformed =
    QByteArrayLiteral("\n  \n>\n>>>\nTarnix\na>b\n@\n_\n>Tarnix _\nDorvan>Tarnix\nDorvan>Tarnix @\n"
                      "Dorvan>Tarnix _EvChangerMoving\nDorvan.>Tarnix.. Hello\r\n\r\n\0\0\0\n"
                      "\xff\xfe>\xc3\n.remote>.remote @listnodes\n");

// clang-format off
const QList<QByteArray> kBusWords{
    "Dorvan", "Tarnix", "System", ">", ".", "@", "_", "\r", "\"", "Hello", "Help", "IsBusy",
    "listnodes", "GetBlockNum", "EvMovingCurTh", "EvErrRemote", "Connected", "Ok:", "Er:"};
const QList<QByteArray> kEntryWords{
    "1", "-5", "Cu", "Zn", "Xx", "K", "L3", "Quick", "Step", "Trans", "Fluo", "Std", "File",
    "User", "XAFS", "eV", "keV", "A", "deg", "R-300", "R+", "\"1,1\"", "\"", "\"\"", "Y", "-",
    "9999999", "1e308", "nan", ""};
const QList<QByteArray> kConfigWords{
    "Crystal", "DARK", "TUNE", "SCAN_TYPE", "MEAS_MODE", "BLK_SETUP", "STD_TYPE", "Q_MEAS_MODE",
    "S_MEAS_MODE", "HOCMode", "DefaultHOCMode", "MonoMode", "DefaultMonoMode", "INCLUDE",
    "TOLVA_PORT", "\"", "Si(111)", "-1", "0", "3.1", "1e9", "4000", "x"};
const QList<QByteArray> kBlockWords{
    "QN", "SN", "QB", "SB", "U", "N", "B", "0", "1", "3", "-1", "R-300", "R", "8979", "1e308",
    "-1e308", "nan", "inf", "99999999", "x", "9809"};
// clang-format on

QByteArray noise(quint32 seed, int size)
{
    QRandomGenerator rng(seed);
    QByteArray b(size, '\0');
    for (char &c : b)
        c = char(rng.bounded(256));
    return b;
}

// Lines of bus-like tokens, punctuation and stray bytes.
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
    void initTestCase();
    void init();
    void junkFromServer_data();
    void junkFromServer();
    void randomFile_data();
    void randomFile();

private:
    TestSupport::WorkDir m_dir;
};

void TestFaultInput::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(xrayDataBase().load(QStringLiteral(":XrayDataBase2.txt")));
    QVERIFY(writeFile(QStringLiteral("keys.txt"), "k0\nk1\nk2\n"));
}

// The example configuration, with the bus left to the test.
void TestFaultInput::init()
{
    ConfigStore &cfg = config();
    cfg.clear();
    QVERIFY(cfg.readFile(QStringLiteral(SKEDRA_SOURCE_DIR "/examples/beamline.cfg")));
    cfg.readText(QStringLiteral("CONNECT_TO_TOLVA 0\nTOLVA_IP 127.0.0.1\nKEY_ON_TOLVA keys.txt\n"
                                "ROOT_DIR %1\n")
                     .arg(m_dir.path()));
    buildOptionTables(cfg);
}

void TestFaultInput::junkFromServer_data()
{
    QTest::addColumn<QByteArray>("junk");
    QTest::addColumn<bool>("cut");
    QTest::newRow("malformed lines") << kMalformed << false;
    QTest::newRow("binary noise") << noise(9, 64 * 1024) << false;
    QTest::newRow("bus-like tokens") << tokenLines(10, 3000, kBusWords, ' ') << false;
    QTest::newRow("longest line kept") << QByteArray(kCap, 'z') + '\n' << false;
    QTest::newRow("overlong, no line feed") << QByteArray(kCap + 1, 'x') << true;
    QTest::newRow("overlong with line feed") << QByteArray(2 * kCap, 'y') + "\nA>Tarnix Hello\n"
                                             << true;
}

void TestFaultInput::junkFromServer()
{
    QFETCH(QByteArray, junk);
    QFETCH(bool, cut);
    LoginServer server(QStringLiteral("Tarnix"));
    QVERIFY(server.port() != 0);
    Body body;
    Tolva *tolva = body.bus();
    tolva->setPort(QString::number(server.port()));
    tolva->connectToTolva();
    QTRY_VERIFY_WITH_TIMEOUT(tolva->isConnected(), kWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(server.lines.size() >= 2, kWaitMs); // listnodes, flgon

    server.sendBytes(junk);
    if (cut) {
        QTRY_COMPARE_WITH_TIMEOUT(tolva->state(), int(ConnectStat::Disconnected), kWaitMs);
        tolva->connectToTolva(); // the operator's Connect
        QTRY_COMPARE_WITH_TIMEOUT(server.logins, 2, kWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(tolva->isConnected(), kWaitMs);
    }
    server.sendBytes("\nProbe>Tarnix Hello\n");
    QTRY_VERIFY_WITH_TIMEOUT(
        server.lines.contains("Tarnix>Probe @Hello Hello! I am Tarnix. Nice to meet you!"),
        kWaitMs);
    QVERIFY(tolva->isConnected());
    QCOMPARE(server.logins, cut ? 2 : 1);
}

void TestFaultInput::randomFile_data()
{
    QTest::addColumn<QString>("name"); // a schedule, configuration or block-definition file
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("quoting"); // an item opens a quote it never closes
    QTest::newRow("schedule, bytes") << "r.csv" << noise(21, 16 * 1024) << false;
    QTest::newRow("schedule, fields") << "r.csv" << tokenLines(22, 200, kEntryWords, ',') << false;
    QTest::newRow("configuration, bytes") << "r.cfg" << noise(31, 8 * 1024) << false;
    QTest::newRow("configuration, lines")
        << "r.cfg" << tokenLines(32, 400, kConfigWords, ' ') << true;
    QTest::newRow("block file, bytes") << "r.prm" << noise(41, 8 * 1024) << false;
    QTest::newRow("block file, records")
        << "r.prm" << tokenLines(42, 300, kBlockWords, ' ') << false;
}

// The window opens on a broken configuration; a broken schedule gives entries
// that show their errors on their error buttons; a broken block file is read
// without messages (bad numbers read as 0) and leaves the block counts within
// their limits. The entry can still be saved, and the window used.
void TestFaultInput::randomFile()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, quoting);
    QVERIFY(writeFile(name, bytes));
    if (name.endsWith(QLatin1String(".cfg"))) {
        config().clear();
        {
            MessageCatcher catcher; // quoting faults go to the debug channel
            QVERIFY(config().readFile(name));
            QCOMPARE(catcher.contains(QStringLiteral("started from quote but not ended")), quoting);
        }
        config().readText(QStringLiteral("CONNECT_TO_TOLVA 0\n"));
        buildOptionTables(config());
    }
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
