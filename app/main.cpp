// Program entry: builds the process-wide objects in a fixed order, opens the
// main window and runs the event loop.
#include "Body.h"
#include "ConfigStore.h"
#include "LogArea.h"
#include "OptionTables.h"
#include "Startup.h"
#include "UnattendedRun.h"
#include "XrayDataBase.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <QTimer>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    QApplication app(argc, argv);
    QTranslator translator;
    QTranslator qtTranslator;

    ConfigStore &store = config();
    store.parseCommandLine(argc, argv);
    store.readFile(chooseConfigFile(store)); // a missing file leaves the defaults

    if (!store.contains(QStringLiteral("-e"))) {
        if (translator.load(QString::fromLatin1(kCatalogue), QApplication::applicationDirPath()))
            QApplication::installTranslator(&translator);
        installQtCatalogue(qtTranslator); // optional: Qt's texts stay English without it
    }

    // The program cannot check a single target without the table.
    if (!xrayDataBase().load(kXrayDataBase))
        return 1;
    // What the operator should know about the configuration; shown in the
    // log window once it exists.
    const QStringList diagnostics = store.diagnostics() + buildOptionTables(store);

    int status = 0;
    {
        Body body;
        body.show();
        QObject::connect(&body, &Body::closed, &app, &QApplication::closeAllWindows);
        // -load, -go, -confirm-prompts, -quit-when-done: runs under scripts.
        QTextStream out(stdout);
        UnattendedRun unattended(&body, UnattendedRun::optionsFrom(store), &out);
        // After the unattended run is set up, so that -go echoes them too.
        for (const QString &line : diagnostics)
            body.logPanel()->log(line, QColor(255, 0, 0));
        if (store.contains(QStringLiteral("-quit-when-shown"))) {
            // Start-up timing: the first pass of the event loop has shown the window.
            QTimer::singleShot(0, &app, [&out, &sinceStart] {
                out << "shown-after-ms: " << sinceStart.elapsed() << Qt::endl;
                QApplication::quit();
            });
        }
        status = unattended.exitStatus(QApplication::exec());
    }
    return status;
}
