#include "ConfigStore.h"
#include "Startup.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void configFile_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("file");
        QTest::newRow("default") << QStringList{"skedra"} << "config.cfg";
        QTest::newRow("-c") << QStringList{"skedra", "-c", "a.cfg"} << "a.cfg";
        QTest::newRow("-config wins")
            << QStringList{"skedra", "-c", "a.cfg", "-config", "b.cfg"} << "b.cfg";
        QTest::newRow("-config wins when first")
            << QStringList{"skedra", "-config", "b.cfg", "-c", "a.cfg"} << "b.cfg";
        QTest::newRow("-C is not -c") << QStringList{"skedra", "-C", "a.cfg"} << "config.cfg";
        QTest::newRow("-c without a name") << QStringList{"skedra", "-c", "-e"} << "";
    }
    void configFile()
    {
        QFETCH(QStringList, args);
        ConfigStore store;
        store.parseCommandLine(args);
        QTEST(chooseConfigFile(store), "file");
    }

    void rootDir()
    {
        ConfigStore store;
        QCOMPARE(rootDirFor(store), QDir::homePath());
        store.addEntry("root_dir", "/data/cfg", " /data/cfg");
        QCOMPARE(rootDirFor(store), QString("/data/cfg"));
        ConfigStore both;
        both.parseCommandLine(QStringList{"skedra", "-ROOT", "/data/cmd"});
        both.addEntry("ROOT_DIR", "/data/cfg", " /data/cfg");
        QCOMPARE(rootDirFor(both), QString("/data/cmd"));
    }

    // The real program: a configuration file that does not exist is reported
    // and the program goes on running with its defaults.
    void programRunsWithoutConfig()
    {
        QTemporaryDir dir;
        QProcess proc;
        proc.setWorkingDirectory(dir.path());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("HOME", dir.path()); // nothing of the user's is touched
        proc.setProcessEnvironment(env);
        proc.setProcessChannelMode(QProcess::MergedChannels);
        proc.start(SKEDRA_EXE, {"-c", "a.cfg", "-config", "b.cfg", "-platform", "offscreen"});
        QVERIFY(proc.waitForStarted(10000));
        QByteArray out;
        QTRY_VERIFY_WITH_TIMEOUT(
            (out += proc.readAll()).contains("Can't open config file :  \"b.cfg\""), 20000);
        // Still running: the event loop is up and waits for the operator.
        QVERIFY(!proc.waitForFinished(1000));
        QCOMPARE(proc.state(), QProcess::Running);
        proc.kill();
        proc.waitForFinished(5000);
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
