// The main window in Japanese: with the compiled-in catalogue installed as
// start-up installs it, real widgets of the window (a button, a tooltip of an
// entry, the stage name of a run, an operator prompt) show the catalogue's
// translations; with -e on the command line nothing is installed and the same
// widgets keep their English source texts. The program itself is run too: its
// operator message on a schedule it cannot read is Japanese unless -e is given.
#include "Body.h"
#include "ConfigStore.h"
#include "Exec.h"
#include "OptionTables.h"
#include "Prompter.h"
#include "ScheduleEdit.h"
#include "Startup.h"
#include "TestSupport.h"
#include "XrayDataBase.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

namespace {

// Same catalogue name and search directory as the program's start-up.
bool installCatalogueUnlessE(const QStringList &args, QTranslator *translator)
{
    QList<QByteArray> raw;
    for (const QString &a : args)
        raw << a.toLocal8Bit();
    QList<char *> argv;
    for (QByteArray &r : raw)
        argv << r.data();
    ConfigStore &store = config();
    store.clear();
    store.parseCommandLine(int(argv.size()), argv.data());
    if (store.contains(QStringLiteral("-e")))
        return false;
    if (!translator->load(QString::fromLatin1(kCatalogue), QApplication::applicationDirPath()))
        return false;
    return QApplication::installTranslator(translator);
}

bool hasJapanese(const QString &text)
{
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if ((u >= 0x3040 && u <= 0x30ff) || (u >= 0x4e00 && u <= 0x9fff))
            return true;
    }
    return false;
}

} // namespace

class TestBodyJa : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void window_data();
    void window();
    void program_data();
    void program();

private:
    TestSupport::WorkDir m_dir; // history and log files land here
    QTranslator m_translator;
};

void TestBodyJa::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(xrayDataBase().load(QStringLiteral(":XrayDataBase2.txt")));
}

void TestBodyJa::cleanup()
{
    QApplication::removeTranslator(&m_translator);
}

void TestBodyJa::window_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("japanese");
    QTest::newRow("default") << QStringList{"skedra"} << true;
    QTest::newRow("-e") << QStringList{"skedra", "-e"} << false;
}

void TestBodyJa::window()
{
    QFETCH(QStringList, args);
    QFETCH(bool, japanese);

    QCOMPARE(installCatalogueUnlessE(args, &m_translator), japanese);
    ConfigStore &cfg = config();
    QVERIFY(cfg.readFile(QStringLiteral(SKEDRA_SOURCE_DIR "/examples/beamline.cfg")));
    cfg.readText(QStringLiteral("CONNECT_TO_TOLVA 0\nROOT_DIR %1\n").arg(m_dir.path()));
    buildOptionTables(cfg);

    // What each widget must show: its English source text, or the
    // catalogue's translation of it.
    QTranslator reference;
    QVERIFY(reference.load(QString::fromLatin1(kCatalogue)));
    auto expected = [&](const char *context, const char *source) {
        return japanese ? reference.translate(context, source) : QString::fromUtf8(source);
    };

    Body body;
    body.show();

    QCOMPARE(body.ui.Go->text(), expected("Body", "Start"));
    QCOMPARE(hasJapanese(body.ui.Go->text()), japanese);
    QTest::mouseClick(body.ui.NewAtBottom, Qt::LeftButton);
    ScheduleEdit *entry = body.schedule().first();
    QStringList errors, warnings;

    // A run: the stage name comes from the engine's worker thread, the prompt
    // for the ionisation-chamber gases from the engine's first stage.
    QVERIFY(entry->fromStringList({QStringLiteral("1"), QStringLiteral("S1"), QString(), QString(),
                                   QStringLiteral("a.dat"), QStringLiteral("Cu")},
                                  errors, warnings));
    emit body.setTargetIsReady(true); // as if it had logged in: the engine sends only then
    QTest::mouseClick(body.ui.Go, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(body.ui.StageName->text(), expected("Exec", "Initialize"), 10000);
    QCOMPARE(hasJapanese(body.ui.StageName->text()), japanese);
    Prompter *prompter = body.prompterWindow();
    QTRY_COMPARE_WITH_TIMEOUT(prompter->count(), 3, 10000);
    const QString gases = prompter->openPrompts().first()->ui.PromptMsg->text();
    QCOMPARE(hasJapanese(gases), japanese);
    QVERIFY(gases.contains(QStringLiteral("Cu-K")));
    QCOMPARE(prompter->openPrompts().first()->ui.PromptOk->text(), expected("Prompt", "OK"));

    QTest::mouseClick(body.ui.Stop, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(body.ui.StageName->text(), expected("Exec", "Not In Exec"), 10000);
    QCOMPARE(hasJapanese(body.ui.StageName->text()), japanese);
    body.setAsk([](const QString &) { return true; }); // the edited entry is not kept
    body.close();
}

void TestBodyJa::program_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("japanese");
    QTest::newRow("-e") << QStringList{"-e"} << false;
    QTest::newRow("-E is not -e") << QStringList{"-E"} << true;
}

// The real program, unattended: a schedule file that cannot be read stops it
// at once with a message for the operator on the error output.
void TestBodyJa::program()
{
    QFETCH(QStringList, options);
    QFETCH(bool, japanese);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile cfg(dir.filePath(QStringLiteral("quiet.cfg")));
    QVERIFY(cfg.open(QIODevice::WriteOnly | QIODevice::Text));
    cfg.write("CONNECT_TO_TOLVA 0\n");
    cfg.close();
    const QString missing = dir.filePath(QStringLiteral("no-such-schedule.csv"));

    QProcess skedra;
    skedra.setWorkingDirectory(dir.path());
    skedra.start(QStringLiteral(SKEDRA_EXE),
                 QStringList{"-platform", "offscreen", "-c", cfg.fileName(), "-load", missing,
                             "-quit-when-done"} +
                     options);
    QVERIFY2(skedra.waitForFinished(60000), "skedra did not end");
    QCOMPARE(skedra.exitStatus(), QProcess::NormalExit);
    QCOMPARE(skedra.exitCode(), 1);

    QTranslator reference;
    QVERIFY(reference.load(QString::fromLatin1(kCatalogue)));
    const char *source = "Cannot read the schedule file %1; no run is started.";
    const QString message =
        (japanese ? reference.translate("UnattendedRun", source) : QString::fromUtf8(source))
            .arg(missing);
    const QString err = QString::fromUtf8(skedra.readAllStandardError());
    QVERIFY2(err.contains(QStringLiteral("skedra: ") + message), qPrintable(err));
    QCOMPARE(hasJapanese(message), japanese);
}

QTEST_MAIN(TestBodyJa)
#include "tst_body_ja.moc"
