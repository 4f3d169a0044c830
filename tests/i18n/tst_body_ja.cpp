// The main window comes up in Japanese with the catalogue start-up installs.
#include "Body.h"
#include "ConfigStore.h"
#include "OptionTables.h"
#include "Startup.h"
#include "TestSupport.h"
#include "XrayDataBase.h"

#include <QApplication>
#include <QTest>
#include <QTranslator>

class TestBodyJa : public QObject
{
    Q_OBJECT

private slots:
    void windowIsTranslated()
    {
        TestSupport::WorkDir dir; // history and log files land here
        QVERIFY(xrayDataBase().load(QStringLiteral(":XrayDataBase2.txt")));
        QTranslator translator;
        QVERIFY(translator.load(QString::fromLatin1(kCatalogue)));
        QVERIFY(QApplication::installTranslator(&translator));
        ConfigStore &cfg = config();
        QVERIFY(cfg.readFile(QStringLiteral(SKEDRA_SOURCE_DIR "/examples/beamline.cfg")));
        cfg.readText(QStringLiteral("CONNECT_TO_TOLVA 0\nROOT_DIR %1\n").arg(dir.path()));
        buildOptionTables(cfg);
        Body body;
        body.show();
        const QString go = body.ui.Go->text();
        QCOMPARE(go, translator.translate("Body", "Start"));
        QVERIFY(go != QLatin1String("Start"));
    }
};

QTEST_MAIN(TestBodyJa)
#include "tst_body_ja.moc"
