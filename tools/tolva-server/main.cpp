// SPDX-License-Identifier: GPL-3.0-or-later
// tolva-server: the bus server stand-in (see TolvaServer.h).
#include "QuitOnSignal.h"
#include "TolvaProto.h"
#include "TolvaServer.h"
#include "ToolOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tolva-server"));

    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral(
        "Stand-in for the Tolva message server: logs nodes in with a shared key file and routes\n"
        "bus lines between them. Prints \"listening HOST PORT\" on stdout once it listens."));
    p.addOptions({
        {QStringLiteral("host"), QStringLiteral("Address to listen on (default 127.0.0.1)."),
         QStringLiteral("address"), QStringLiteral("127.0.0.1")},
        {QStringLiteral("port"),
         QStringLiteral("Port to listen on (default 6057; 0 lets the system choose)."),
         QStringLiteral("port"), QStringLiteral("6057")},
        {QStringLiteral("key-file"),
         QStringLiteral("Key file, one key per line (default Tarnix.key in the working "
                        "directory, else the shipped example)."),
         QStringLiteral("file")},
        {QStringLiteral("max-line"),
         QStringLiteral("Longest line accepted from a node, in bytes (default 1048576)."),
         QStringLiteral("bytes")},
        {QStringLiteral("challenge"),
         QStringLiteral("Send this challenge to every connection instead of a random one."),
         QStringLiteral("integer")},
        {QStringLiteral("stall-login"),
         QStringLiteral("Fault for login tests: never send the challenge (\"challenge\") or never "
                        "answer the key reply (\"key\")."),
         QStringLiteral("step")},
    });
    if (const int status = ToolOptions::parseOrAnswer(p, "tolva-server"); status >= 0)
        return status;

    TolvaServer::Options opt;
    if (!opt.host.setAddress(p.value(QStringLiteral("host")))) {
        std::fprintf(stderr, "tolva-server: --host wants an IP address, not \"%s\"\n",
                     qPrintable(p.value(QStringLiteral("host"))));
        return 2;
    }
    qint64 port = 6057;
    qint64 maxLine = opt.maxLine;
    if (!ToolOptions::intOption(p, QStringLiteral("port"), 0, 65535, &port, "tolva-server") ||
        !ToolOptions::intOption(p, QStringLiteral("max-line"), 16, 1LL << 30, &maxLine,
                                "tolva-server") ||
        !ToolOptions::intOption(p, QStringLiteral("challenge"), -2147483648LL, 2147483647LL,
                                &opt.challenge, "tolva-server"))
        return 2;
    opt.port = quint16(port);
    opt.maxLine = maxLine;
    opt.fixedChallenge = p.isSet(QStringLiteral("challenge"));
    if (p.isSet(QStringLiteral("stall-login"))) {
        const QString step = p.value(QStringLiteral("stall-login"));
        if (step == QLatin1String("challenge")) {
            opt.stall = TolvaServer::Options::StallChallenge;
        } else if (step == QLatin1String("key")) {
            opt.stall = TolvaServer::Options::StallKey;
        } else {
            std::fprintf(stderr, "tolva-server: --stall-login wants challenge or key, not \"%s\"\n",
                         qPrintable(step));
            return 2;
        }
    }

    const QString keyFile = p.isSet(QStringLiteral("key-file"))
                                ? p.value(QStringLiteral("key-file"))
                                : ToolOptions::defaultKeyFile();
    bool opened = false;
    opt.keys = TolvaProto::loadKeys(keyFile, &opened);
    if (!opened) {
        std::fprintf(stderr, "tolva-server: cannot read key file \"%s\"\n", qPrintable(keyFile));
        return 2;
    }
    if (opt.keys.isEmpty()) {
        std::fprintf(stderr, "tolva-server: key file \"%s\" holds no key\n", qPrintable(keyFile));
        return 2;
    }

    TolvaServer server(opt);
    QString error;
    if (!server.listen(&error)) {
        std::fprintf(stderr, "tolva-server: cannot listen on %s port %d: %s\n",
                     qPrintable(opt.host.toString()), int(opt.port), qPrintable(error));
        return 1;
    }
    std::printf("listening %s %d\n", qPrintable(opt.host.toString()), int(server.serverPort()));
    std::fflush(stdout);
    ToolOptions::logLine("tolva-server", QStringLiteral("listening on %1 port %2, %3 keys from %4")
                                             .arg(opt.host.toString())
                                             .arg(server.serverPort())
                                             .arg(opt.keys.size())
                                             .arg(keyFile));
    QuitOnSignal::install(&app);
    const int status = QCoreApplication::exec();
    ToolOptions::logLine("tolva-server", QStringLiteral("stopping"));
    return status;
}
