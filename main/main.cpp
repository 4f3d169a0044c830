// SPDX-License-Identifier: GPL-3.0-or-later
// Program entry: builds the process-wide objects in a fixed order, opens the
// main window and runs the event loop.
#include "Body.h"
#include "CommandLine.h"
#include "ConfigStore.h"
#include "DryRun.h"
#include "LogArea.h"
#include "NightReport.h"
#include "OptionTables.h"
#include "QuitOnSignal.h"
#include "Startup.h"
#include "UnattendedRun.h"
#include "XrayDataBase.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocale>
#include <QTextStream>
#include <QTimer>
#include <QTranslator>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// Whether argv holds the option exactly (before the store exists: -check
// decides which application object is built).
bool hasOption(int argc, char *argv[], const char *option)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], option) == 0)
            return true;
    }
    return false;
}

void print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

// The exit status when the command line asks for help or the version, or
// holds something Skedra does not take (2, with the usage); -1 to go on.
int answerCommandLine(int argc, char *argv[])
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    QString program = argc > 0 ? QFileInfo(QString::fromLocal8Bit(argv[0])).fileName() : QString();
    if (program.isEmpty())
        program = QStringLiteral("skedra");
    const CommandLine::Result result = CommandLine::check(args);
    switch (result.action) {
    case CommandLine::Action::Help:
        print(stdout, CommandLine::usage(program));
        return 0;
    case CommandLine::Action::Version:
        print(stdout, CommandLine::versionText(program));
        return 0;
    case CommandLine::Action::Error:
        print(stderr, program + QStringLiteral(": ") + result.error + QLatin1Char('\n') +
                          CommandLine::usage(program));
        return 2;
    case CommandLine::Action::Run:
        break;
    }
    return -1;
}

} // namespace

int main(int argc, char *argv[])
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    // Help, version and a mistyped option are answered before an application
    // object exists: no display, no configuration, no log file.
    if (const int status = answerCommandLine(argc, argv); status >= 0)
        return status;
    // -check prints the dry run of a schedule and ends, and -report writes a
    // night's report and ends: no window, no bus, so no display is needed
    // either.
    const bool report = hasOption(argc, argv, "-report");
    const bool check = hasOption(argc, argv, "-check") || report;
    std::unique_ptr<QCoreApplication> app;
    if (check)
        app = std::make_unique<QCoreApplication>(argc, argv);
    else
        app = std::make_unique<QApplication>(argc, argv);
    QTranslator translator;
    QTranslator qtTranslator;

    ConfigStore &store = config();
    store.parseCommandLine(argc, argv);
    store.readFile(chooseConfigFile(store)); // a missing file leaves the defaults

    const char *catalogue = catalogueFor(store, QLocale::system());
    if (translator.load(QString::fromLatin1(catalogue), QCoreApplication::applicationDirPath()))
        QCoreApplication::installTranslator(&translator);
    if (catalogue == kCatalogue)
        installQtCatalogue(qtTranslator); // optional: Qt's texts stay English without it

    // The program cannot check a single target without the table.
    if (!xrayDataBase().load(kXrayDataBase))
        return 1;
    // What the operator should know about the configuration; shown in the
    // log window once it exists.
    const QStringList diagnostics = store.diagnostics() + buildOptionTables(store);

    if (report) {
        QTextStream out(stdout);
        QTextStream err(stderr);
        return NightReport::reportCommand(store, out, err);
    }
    if (check) {
        QTextStream out(stdout);
        QTextStream err(stderr);
        return DryRun::checkCommand(store, out, err, QDateTime::currentDateTime());
    }

    int status = 0;
    {
        Body body;
        body.show();
        QObject::connect(&body, &Body::closed, app.get(), &QApplication::closeAllWindows);
        // -load, -go, -confirm-prompts, -quit-when-done: runs under scripts.
        QTextStream out(stdout);
        const UnattendedRun::Options options = UnattendedRun::optionsFrom(store);
        UnattendedRun unattended(&body, options, &out);
        // After the unattended run is set up, so that -go echoes them too.
        for (const QString &line : diagnostics)
            body.logPanel()->log(line, QColor(255, 0, 0));
        // A run or edits a crash cut short: offered to an operator at the
        // screen, only named in the log of a run under a script.
        const bool attended = !options.go && !options.resumeLast && options.loadFile.isEmpty() &&
                              !store.contains(QStringLiteral("-quit-when-shown"));
        QTimer::singleShot(0, &body, [&body, attended] { body.recoverAtStartup(attended); });
        // Shut down or logged out: unsaved edits go to the recovery file; a
        // run going on is left for -resume-last (its journal has no end).
        // In a run nobody watches, the run stops and the program ends without
        // a question nobody could answer.
        QuitOnSignal::install(&body, [&body, &unattended] {
            body.saveRecovery();
            if (unattended.unattended())
                unattended.quitOnSignal();
            else
                QApplication::quit();
        });
        if (store.contains(QStringLiteral("-quit-when-shown"))) {
            // Start-up timing: the first pass of the event loop has shown the window.
            QTimer::singleShot(0, app.get(), [&out, &sinceStart] {
                out << "shown-after-ms: " << sinceStart.elapsed() << Qt::endl;
                QApplication::quit();
            });
        }
        status = unattended.exitStatus(QApplication::exec());
    }
    return status;
}
