// SPDX-License-Identifier: GPL-3.0-or-later
// skedra-shot: builds the main window as the program does, loads a schedule,
// and saves a picture of the window (QWidget::grab). No bus connection is made.
//
//   skedra-shot -platform offscreen [--config examples/beamline.cfg]
//               [--schedule examples/demo-schedule.csv] [--out docs/main-window.png]
//               [--japanese] [--plan N]
// --plan N pictures the scan plan beside the editor of entry N instead of
// the window (docs/plan-plot.png).
// The window speaks the English catalogue, as with -e; --japanese installs the
// Japanese one instead (needs a Japanese font on the machine that renders the
// picture).
#include "Body.h"
#include "ConfigStore.h"
#include "ListPane.h"
#include "OptionTables.h"
#include "PlanView.h"
#include "Startup.h"
#include "XrayDataBase.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QPixmap>
#include <QTranslator>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("skedra-shot"));
    QCommandLineParser p;
    p.setApplicationDescription(
        QStringLiteral("Saves a picture of the Skedra main window with a schedule loaded."));
    p.addHelpOption();
    const QCommandLineOption configOpt(
        QStringLiteral("config"), QStringLiteral("Configuration file."), QStringLiteral("file"),
        QStringLiteral("examples/beamline.cfg"));
    const QCommandLineOption schedule(QStringLiteral("schedule"), QStringLiteral("Schedule file."),
                                      QStringLiteral("file"),
                                      QStringLiteral("examples/demo-schedule.csv"));
    const QCommandLineOption out(QStringLiteral("out"), QStringLiteral("PNG file to write."),
                                 QStringLiteral("file"), QStringLiteral("docs/main-window.png"));
    const QCommandLineOption japanese(QStringLiteral("japanese"),
                                      QStringLiteral("Show the window in Japanese."));
    const QCommandLineOption plan(QStringLiteral("plan"),
                                  QStringLiteral("Picture the scan plan of entry N instead."),
                                  QStringLiteral("N"));
    p.addOptions({configOpt, schedule, out, japanese, plan});
    p.process(app);

    QTranslator translator;
    const char *catalogue = p.isSet(japanese) ? kCatalogue : kEnglishCatalogue;
    if (!translator.load(QString::fromLatin1(catalogue))) {
        std::fprintf(stderr, "skedra-shot: cannot load the catalogue %s\n", catalogue);
        return 2;
    }
    QApplication::installTranslator(&translator);

    ConfigStore &store = config();
    if (!store.readFile(p.value(configOpt))) {
        std::fprintf(stderr, "skedra-shot: cannot read %s\n", qPrintable(p.value(configOpt)));
        return 2;
    }
    store.readText(QStringLiteral("CONNECT_TO_TOLVA 0\n")); // a picture needs no bus
    if (!xrayDataBase().load(kXrayDataBase))
        return 1;
    buildOptionTables(store);

    Body body;
    body.setOption(Body::Option::ClearOnLoad, false);
    body.loadScheduleFrom(p.value(schedule));
    if (body.scheduleModel()->count() == 0) {
        std::fprintf(stderr, "skedra-shot: no entry read from %s\n", qPrintable(p.value(schedule)));
        return 2;
    }
    body.setOption(Body::Option::ShowTolvaStat, true);
    body.show();
    // Let the layouts settle: widgets added to shown parents appear through
    // queued events, and rows may be laid out in more than one pass.
    for (int i = 0; i < 5; ++i) {
        QApplication::sendPostedEvents();
        QApplication::processEvents();
    }
    if (p.isSet(plan)) {
        body.setCurrentRow(p.value(plan).toInt() - 1);
        for (int i = 0; i < 5; ++i) {
            QApplication::sendPostedEvents();
            QApplication::processEvents();
        }
    }
    const QPixmap shot = p.isSet(plan) ? body.listPane()->planView()->grab() : body.grab();
    if (!shot.save(p.value(out), "PNG")) {
        std::fprintf(stderr, "skedra-shot: cannot write %s\n", qPrintable(p.value(out)));
        return 1;
    }
    std::printf("skedra-shot: %dx%d picture written to %s\n", shot.width(), shot.height(),
                qPrintable(p.value(out)));
    return 0;
}
