// SPDX-License-Identifier: GPL-3.0-or-later
// Bus client throughput and memory bound.
//
// The bench re-runs itself as a feeder (a minimal server in a separate
// process, so that its buffers do not count in the client's memory): the
// client logs in, then
//   1. the feeder sends 16 MiB without a line feed; the client must close the
//      connection at its line cap, and its peak resident memory is printed;
//   2. the feeder sends N event lines; the client receives, parses and
//      dispatches them, and the rate is printed.
#include "AMsg.h"
#include "Tolva.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

qint64 statusKiB(const char *field)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

// ---- feeder side ---------------------------------------------------------

int runFeeder(const QString &mode, qint64 amount)
{
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost, 0))
        return 1;
    std::printf("%d\n", int(server.serverPort()));
    std::fflush(stdout);
    if (!server.waitForNewConnection(30000))
        return 1;
    QTcpSocket *s = server.nextPendingConnection();
    s->write("0\n");
    while (!s->canReadLine()) {
        if (!s->waitForReadyRead(30000))
            return 1;
    }
    s->readLine();
    s->write("System>Bench Ok: go\n");

    QByteArray chunk;
    if (mode == QLatin1String("lines"))
        chunk = QByteArray("Dorvan>Bench _EvMovingCurTh 1\n").repeated(1000);
    else
        chunk = QByteArray(64 * 1024, 'x');
    const qint64 perChunk = mode == QLatin1String("lines") ? 1000 : chunk.size();
    qint64 sent = 0;
    while (sent < amount && s->state() == QAbstractSocket::ConnectedState) {
        s->write(chunk);
        sent += perChunk;
        while (s->bytesToWrite() > 1024 * 1024 && s->state() == QAbstractSocket::ConnectedState)
            s->waitForBytesWritten(30000);
    }
    while (s->bytesToWrite() > 0 && s->state() == QAbstractSocket::ConnectedState)
        s->waitForBytesWritten(30000);
    // Wait for the client to hang up.
    if (s->state() == QAbstractSocket::ConnectedState)
        s->waitForDisconnected(60000);
    return 0;
}

// ---- client side ---------------------------------------------------------

struct Run
{
    QProcess feeder;
    quint16 port = 0;
};

bool startFeeder(Run &run, const QString &mode, qint64 amount)
{
    run.feeder.start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--feed"), mode, QString::number(amount)});
    if (!run.feeder.waitForStarted(10000))
        return false;
    while (!run.feeder.canReadLine()) {
        if (!run.feeder.waitForReadyRead(10000))
            return false;
    }
    run.port = quint16(run.feeder.readLine().trimmed().toUInt());
    return run.port != 0;
}

bool waitFor(const std::function<bool()> &done, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return done();
}

void setUp(Tolva &tolva, const QString &keyFile, quint16 port)
{
    tolva.setNameOnTolva(QStringLiteral("Bench"));
    tolva.setKeyFile(keyFile);
    tolva.setHost(QStringLiteral("127.0.0.1"));
    tolva.setPort(QString::number(port));
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 4 && qstrcmp(argv[1], "--feed") == 0) {
        QCoreApplication app(argc, argv);
        return runFeeder(QString::fromLatin1(argv[2]), QByteArray(argv[3]).toLongLong());
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const qint64 lines = argc > 1 ? QByteArray(argv[1]).toLongLong() : 200000;
    const qint64 flood = 16LL * 1024 * 1024;

    QTemporaryDir dir;
    const QString keyFile = dir.filePath(QStringLiteral("bench.key"));
    {
        QFile f(keyFile);
        if (!f.open(QIODevice::WriteOnly))
            return 1;
        f.write("bench-key\n");
    }

    // 1. No line feed: bounded memory.
    {
        Run run;
        if (!startFeeder(run, QStringLiteral("flood"), flood)) {
            std::fprintf(stderr, "bench_bus: feeder did not start\n");
            return 1;
        }
        Tolva tolva;
        setUp(tolva, keyFile, run.port);
        bool ready = false;
        bool gone = false;
        QObject::connect(&tolva, &Tolva::tolvaIsReady, &tolva, [&ready]() { ready = true; });
        QObject::connect(&tolva, &Tolva::tolvaIsNotReady, &tolva, [&gone]() { gone = true; });
        const qint64 before = statusKiB("VmHWM:");
        const qint64 rssBefore = statusKiB("VmRSS:");
        tolva.connectToTolva();
        if (!waitFor([&]() { return gone; }, 60000)) {
            std::fprintf(stderr, "bench_bus: the client did not close the flooded connection\n");
            return 1;
        }
        const qint64 peak = statusKiB("VmHWM:");
        std::printf("bus_flood_bytes: %lld bytes\n", static_cast<long long>(flood));
        std::printf("bus_flood_closed: %s\n", ready ? "yes (after login)" : "yes (before login)");
        std::printf("bus_rss_before_flood: %.1f MiB\n", rssBefore / 1024.0);
        std::printf("bus_peak_rss_before_flood: %.1f MiB\n", before / 1024.0);
        std::printf("bus_peak_rss_flood: %.1f MiB\n", peak / 1024.0);
        run.feeder.waitForFinished(10000);
    }

    // 2. Lines per second, received, parsed and dispatched.
    {
        Run run;
        if (!startFeeder(run, QStringLiteral("lines"), lines)) {
            std::fprintf(stderr, "bench_bus: feeder did not start\n");
            return 1;
        }
        Tolva tolva;
        setUp(tolva, keyFile, run.port);
        qint64 count = 0;
        qint64 wrong = 0;
        QElapsedTimer timer;
        QObject::connect(&tolva, &Tolva::tolvaIsReady, &tolva, [&timer]() { timer.start(); });
        QObject::connect(&tolva, &Tolva::anyEvent, &tolva, [&count, &wrong](const AMsg &m) {
            ++count;
            if (m.cmdId != 6 || m.firstParam != QLatin1String("1"))
                ++wrong;
        });
        tolva.connectToTolva();
        if (!waitFor([&]() { return count >= lines; }, 120000)) {
            std::fprintf(stderr, "bench_bus: only %lld of %lld lines arrived\n",
                         static_cast<long long>(count), static_cast<long long>(lines));
            return 1;
        }
        const double secs = timer.nsecsElapsed() / 1e9;
        std::printf("bus_lines: %lld lines\n", static_cast<long long>(count));
        std::printf("bus_lines_wrong: %lld lines\n", static_cast<long long>(wrong));
        std::printf("bus_lines_time: %.3f s\n", secs);
        std::printf("bus_lines_per_s: %.0f lines/s\n", count / secs);
        std::printf("bus_peak_rss_total: %.1f MiB\n", statusKiB("VmHWM:") / 1024.0);
        tolva.connectToTolva(); // connected: closes
        run.feeder.waitForFinished(10000);
    }
    return 0;
}
