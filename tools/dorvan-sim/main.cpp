// SPDX-License-Identifier: GPL-3.0-or-later
// dorvan-sim: the target program stand-in (see DorvanSim.h).
#include "DorvanSim.h"
#include "QuitOnSignal.h"
#include "TolvaProto.h"
#include "ToolOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("dorvan-sim"));
    const char *tool = "dorvan-sim";

    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral(
        "Stand-in for the target measurement program on the Tolva bus. Logs in, accepts\n"
        "RemoteOn and the measurement commands at NAME.remote, answers them and sends the\n"
        "target's events to the node that sent RemoteOn. Fault options count the commands\n"
        "received at NAME.remote from 1, RemoteOn included; 0 means never."));
    const auto opt = [](const char *name, const char *desc, const char *value) {
        return QCommandLineOption(QString::fromLatin1(name), QString::fromLatin1(desc),
                                  QString::fromLatin1(value));
    };
    p.addOptions({
        opt("host", "Tolva server address (default 127.0.0.1).", "address"),
        opt("port", "Tolva server port (default 6057).", "port"),
        opt("name", "Node name on the bus (default Dorvan).", "name"),
        opt("key-file",
            "Key file, one key per line (default Tarnix.key in the working directory, else the "
            "shipped example).",
            "file"),
        opt("connect-timeout", "Keep retrying the connection this long (default 5000).", "ms"),
        opt("move-time", "Monochromator move time for SetCurrentEnergy (default 300).", "ms"),
        opt("changer-time", "Sample-changer move time for MoveSHolderTo (default 300).", "ms"),
        opt("meas-time", "Measurement time for Start (default 1000).", "ms"),
        opt("time-scale",
            "A measurement also lasts F times the seconds its blocks were given (points x dwell "
            "from SetBlock, the dwell of SetMeasTime; default 0).",
            "F"),
        opt("point-time", "A measurement also lasts this long per point of its blocks (default 0).",
            "ms"),
        opt("block-num",
            "Answer GetBlockNum with N (default: by SelectXafsMeasType: 0 gives 4, 1 gives 5, 2 "
            "gives 6, 3 gives 3, others 4).",
            "N"),
        opt("fail-start", "The k-th Start fails with EvErrStartXAFSMeas.", "k"),
        opt("fail-changer", "The k-th MoveSHolderTo fails with EvErrChangerMove.", "k"),
        opt("err-remote-after", "Send EvErrRemote after the k-th command.", "k"),
        opt("hang-after", "Stop answering and sending events after the k-th command.", "k"),
        opt("drop-after", "Close the connection and exit after the k-th command.", "k"),
        opt("refuse", "Answer the k-th command with \"Er:\" instead of carrying it out.", "k"),
        opt("transcript",
            "Write every line received after login to FILE, one per line, flushed at once.",
            "file"),
    });
    if (const int status = ToolOptions::parseOrAnswer(p, tool); status >= 0)
        return status;

    DorvanSim::Options o;
    if (p.isSet(QStringLiteral("host")))
        o.host = p.value(QStringLiteral("host"));
    if (p.isSet(QStringLiteral("name")))
        o.name = p.value(QStringLiteral("name"));
    for (const QChar c : o.name) {
        if (c.isSpace() || c == QLatin1Char('>') || c == QLatin1Char('.')) {
            std::fprintf(stderr, "%s: --name must be one word without '>' or '.'\n", tool);
            return 2;
        }
    }
    if (o.name.isEmpty() || o.host.isEmpty()) {
        std::fprintf(stderr, "%s: --name and --host must not be empty\n", tool);
        return 2;
    }
    qint64 port = o.port, connectTimeout = o.connectTimeoutMs, moveMs = o.moveMs,
           changerMs = o.changerMs, measMs = o.measMs, blockNum = o.blockNum;
    const qint64 big = 1000000000;
    if (!ToolOptions::intOption(p, QStringLiteral("port"), 1, 65535, &port, tool) ||
        !ToolOptions::intOption(p, QStringLiteral("connect-timeout"), 0, big, &connectTimeout,
                                tool) ||
        !ToolOptions::intOption(p, QStringLiteral("move-time"), 0, big, &moveMs, tool) ||
        !ToolOptions::intOption(p, QStringLiteral("changer-time"), 0, big, &changerMs, tool) ||
        !ToolOptions::intOption(p, QStringLiteral("meas-time"), 0, big, &measMs, tool) ||
        !ToolOptions::intOption(p, QStringLiteral("block-num"), 0, 2147483647LL, &blockNum, tool) ||
        !ToolOptions::intOption(p, QStringLiteral("fail-start"), 0, big, &o.failStart, tool) ||
        !ToolOptions::intOption(p, QStringLiteral("fail-changer"), 0, big, &o.failChanger, tool) ||
        !ToolOptions::intOption(p, QStringLiteral("err-remote-after"), 0, big, &o.errRemoteAfter,
                                tool) ||
        !ToolOptions::intOption(p, QStringLiteral("hang-after"), 0, big, &o.hangAfter, tool) ||
        !ToolOptions::intOption(p, QStringLiteral("drop-after"), 0, big, &o.dropAfter, tool) ||
        !ToolOptions::intOption(p, QStringLiteral("refuse"), 0, big, &o.refuse, tool))
        return 2;
    o.port = quint16(port);
    o.connectTimeoutMs = int(connectTimeout);
    o.moveMs = int(moveMs);
    o.changerMs = int(changerMs);
    o.measMs = int(measMs);
    o.blockNum = int(blockNum);
    o.transcript = p.value(QStringLiteral("transcript"));
    qint64 pointMs = 0;
    if (!ToolOptions::intOption(p, QStringLiteral("point-time"), 0, big, &pointMs, tool))
        return 2;
    o.pointMs = int(pointMs);
    if (p.isSet(QStringLiteral("time-scale"))) {
        bool ok = false;
        o.timeScale = p.value(QStringLiteral("time-scale")).toDouble(&ok);
        if (!ok || o.timeScale < 0 || o.timeScale > 1000) {
            std::fprintf(stderr, "%s: --time-scale must be a number from 0 to 1000\n", tool);
            return 2;
        }
    }

    const QString keyFile = p.isSet(QStringLiteral("key-file"))
                                ? p.value(QStringLiteral("key-file"))
                                : ToolOptions::defaultKeyFile();
    bool opened = false;
    o.keys = TolvaProto::loadKeys(keyFile, &opened);
    if (!opened || o.keys.isEmpty()) {
        std::fprintf(stderr, "%s: %s key file \"%s\"\n", tool, opened ? "no key in" : "cannot read",
                     qPrintable(keyFile));
        return 2;
    }

    DorvanSim sim(o);
    QObject::connect(&sim, &DorvanSim::finished, &app, &QCoreApplication::exit,
                     Qt::QueuedConnection);
    QString error;
    if (!sim.start(&error)) {
        std::fprintf(stderr, "%s: %s\n", tool, qPrintable(error));
        return 2;
    }
    QuitOnSignal::install(&app);
    return QCoreApplication::exec();
}
