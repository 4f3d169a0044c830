// SPDX-License-Identifier: GPL-3.0-or-later
#include "DorvanSim.h"

#include "AMsg.h"
#include "ConfigStore.h"
#include "TargetWords.h"
#include "TolvaProto.h"
#include "ToolOptions.h"

#include <QDateTime>
#include <QTcpSocket>
#include <QTimer>

namespace {

namespace W = TargetWords;

// Commands of the target, with their parameter counts (-1: free text).
struct RemoteCmd
{
    const char *word;
    int params;
    const char *help;
};

const RemoteCmd kRemoteCmds[] = {
    {W::RemoteOn, 0, "Take remote control; events go to the sender"},
    {W::SelectAtom, 1, "Select the element by atomic number"},
    {W::SelectEdge, 1, "Select the absorption edge by index"},
    {W::SetCurrentEnergy, 1, "Move the monochromator to an energy in keV"},
    {W::MoveSHolderTo, -1, "Move the sample changer to a holder"},
    {W::SetXafsMode, 1, "1 quick scan, 0 step scan"},
    {W::SelectXafsMeasMode, 1, "Select the measurement mode code"},
    {W::SetXafsFileName, -1, "Set the data file name"},
    {W::SetXafsMeasComment, -1, "Set the measurement comment"},
    {W::SelectXafsMeasType, 1, "Select the standard block type"},
    {W::GetBlockNum, 0, "Answer the number of blocks"},
    {W::SetBlockUnit, 1, "Set the unit of the user blocks"},
    {W::SetBlockNum, 1, "Set the number of user blocks"},
    {W::SetBlock, 6, "Set one user block"},
    {W::SetMeasTime, 2, "Set the dwell time of one block"},
    {W::SetMeasDarkTime, 1, "Set the dark measurement time"},
    {W::MeasDark, 0, "Measure the dark current"},
    {W::SetMeasDarkMode, 1, "Set the dark-current mode"},
    {W::Start, 0, "Start the measurement"},
};

// Past the table's not-found id: a word registered under it would read as
// unknown to Help.
constexpr qint32 kFirstRemoteId = NodeCmdTable::NotFoundId + 1;
constexpr qint32 kHelloId = 100;
constexpr qint32 kHelpId = 101;
constexpr qint32 kIsBusyId = 102;

} // namespace

DorvanSim::DorvanSim(const Options &options, QObject *parent)
    : QObject(parent), opt(options), socket(new QTcpSocket(this)), pending(new QObject(this))
{
    table.addCommand(kHelloId, QStringLiteral("Hello"), QStringLiteral("Answer greeting message"));
    table.addCommand(kHelpId, QStringLiteral("Help"), QStringLiteral("Show help message"));
    table.addCommand(kIsBusyId, QStringLiteral("IsBusy"),
                     QStringLiteral("Answer if a measurement is running"));
    qint32 id = kFirstRemoteId;
    for (const RemoteCmd &c : kRemoteCmds)
        table.addCommand(id++, QString::fromLatin1(c.word), QString::fromLatin1(c.help));

    connect(socket, &QTcpSocket::connected, this, &DorvanSim::connected);
    connect(socket, &QTcpSocket::disconnected, this, &DorvanSim::disconnected);
    connect(socket, &QTcpSocket::errorOccurred, this, &DorvanSim::socketError);
    connect(socket, &QTcpSocket::readyRead, this, &DorvanSim::readLines);
}

DorvanSim::~DorvanSim()
{
    socket->disconnect(this);
    socket->abort();
}

int DorvanSim::blocksForType(int type)
{
    switch (type) {
    case 1:
        return 5;
    case 2:
        return 6;
    case 3:
        return 3;
    default:
        return 4;
    }
}

bool DorvanSim::start(QString *error)
{
    if (!opt.transcript.isEmpty()) {
        transcript.setFileName(opt.transcript);
        if (!transcript.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            if (error)
                *error = QStringLiteral("cannot write transcript \"%1\": %2")
                             .arg(opt.transcript, transcript.errorString());
            return false;
        }
    }
    connectDeadline = QDateTime::currentMSecsSinceEpoch() + opt.connectTimeoutMs;
    tryConnect();
    return true;
}

void DorvanSim::log(const QString &text) const
{
    ToolOptions::logLine("dorvan-sim", text);
}

void DorvanSim::finish(int status)
{
    if (finishing)
        return;
    finishing = true;
    emit finished(status);
}

void DorvanSim::tryConnect()
{
    if (finishing)
        return;
    framer.clear();
    stage = WaitChallenge;
    socket->connectToHost(opt.host, opt.port);
}

void DorvanSim::connected()
{
    log(QStringLiteral("connected to %1 port %2").arg(opt.host).arg(opt.port));
}

void DorvanSim::socketError()
{
    if (finishing || socket->state() == QAbstractSocket::ConnectedState)
        return;
    // Only a connection that never came up is retried: the server may still
    // be starting.
    if (stage == WaitChallenge && socket->state() == QAbstractSocket::UnconnectedState) {
        if (QDateTime::currentMSecsSinceEpoch() < connectDeadline) {
            QTimer::singleShot(200, this, &DorvanSim::tryConnect);
            return;
        }
        log(QStringLiteral("cannot connect to %1 port %2: %3")
                .arg(opt.host)
                .arg(opt.port)
                .arg(socket->errorString()));
        finish(1);
    }
}

void DorvanSim::disconnected()
{
    if (dropping) {
        finish(0);
        return;
    }
    if (finishing)
        return;
    log(QStringLiteral("the connection to Tolva was closed"));
    finish(1);
}

void DorvanSim::readLines()
{
    framer.append(socket->readAll());
    QByteArray raw;
    for (;;) {
        const LineFramer::Result r = framer.take(&raw);
        if (r == LineFramer::NeedMore)
            return;
        if (r == LineFramer::Overflow) {
            log(QStringLiteral("a line from Tolva is longer than %1 bytes; closing the connection")
                    .arg(framer.maxLineLength()));
            finishing = true;
            socket->abort();
            emit finished(1);
            return;
        }
        handleLine(QString::fromUtf8(raw));
        if (finishing || dropping || socket->state() != QAbstractSocket::ConnectedState)
            return;
    }
}

void DorvanSim::handleLine(const QString &received)
{
    QString line = received;
    line.remove(QLatin1Char('\n'));
    line.remove(QLatin1Char('\r'));

    switch (stage) {
    case WaitChallenge: {
        const int index = TolvaProto::keyIndexFor(line, opt.keys.size());
        log(QStringLiteral("challenge %1, answering as %2 with key %3 of %4")
                .arg(line.trimmed(), opt.name)
                .arg(index + 1)
                .arg(opt.keys.size()));
        socket->write(TolvaProto::keyReply(opt.name, opt.keys.value(index)));
        stage = WaitAcceptance;
        return;
    }
    case WaitAcceptance:
        if (line.startsWith(QStringLiteral("System>%1 Ok:").arg(opt.name))) {
            stage = Online;
            log(QStringLiteral("logged in as %1").arg(opt.name));
        } else {
            log(QStringLiteral("login refused: %1").arg(line));
            finishing = true;
            socket->disconnectFromHost();
            emit finished(1);
        }
        return;
    case Online:
        break;
    }

    if (transcript.isOpen()) {
        transcript.write(line.toUtf8() + '\n');
        transcript.flush();
    }
    AMsg msg;
    if (!msg.parse(line) || msg.kind != AMsgKind::Ask)
        return; // answers and events need no reaction
    if (hung) {
        log(QStringLiteral("hung: ignoring %1").arg(line));
        return;
    }
    const qint32 id = table.idOf(msg.cmd);
    if (id == kHelloId) {
        answer(msg, QStringLiteral("Hello! I am %1. Nice to meet you!").arg(opt.name));
        return;
    }
    if (id == kHelpId) {
        if (msg.params.isEmpty())
            answer(msg, QStringLiteral("Commands : ") + table.commandList());
        else if (table.idOf(msg.firstParam) != NodeCmdTable::NotFoundId)
            answer(msg, QStringLiteral(": ") + table.helpOf(msg.firstParam));
        else
            answer(msg, QStringLiteral("Er: Command [%1] not found.").arg(msg.firstParam));
        return;
    }
    if (id == kIsBusyId) {
        answer(msg, QStringLiteral("0"));
        return;
    }
    if (msg.toCh != QLatin1String("remote")) {
        answer(msg, QStringLiteral("Er: Send commands to %1.remote").arg(opt.name));
        return;
    }
    ++commands;
    if (commands == opt.refuse) {
        log(QStringLiteral("refusing command %1: %2 (simulated fault)").arg(commands).arg(msg.cmd));
        answer(msg, QStringLiteral("Er: %1 refused (simulated fault)").arg(msg.cmd));
    } else {
        handleRemote(msg);
    }
    afterCommand();
}

void DorvanSim::handleRemote(const AMsg &msg)
{
    const qint32 id = table.idOf(msg.cmd) - kFirstRemoteId;
    if (id < 0 || id >= qint32(std::size(kRemoteCmds))) {
        log(QStringLiteral("unknown command %1 from %2").arg(msg.cmd, msg.from));
        answer(msg, QStringLiteral("Er: Unknown Command"));
        return;
    }
    const RemoteCmd &c = kRemoteCmds[id];
    if (c.params >= 0) {
        const bool ok = NodeCmdTable::checkParamsEq(
            msg, c.params, [this](const AMsg &m, const QString &a) { answer(m, a); });
        if (!ok)
            return;
    }
    const QString word = msg.cmd;
    if (word == QLatin1String(W::RemoteOn)) {
        remoteOn = true;
        controller = msg.fromNode;
        log(QStringLiteral("remote control by %1").arg(controller));
        answer(msg, QStringLiteral("Ok: remote on"));
        return;
    }
    if (!remoteOn) {
        answer(msg, QStringLiteral("Er: Remote mode is off; send RemoteOn first"));
        return;
    }
    log(QStringLiteral("%1 from %2: %3%4")
            .arg(QString::number(commands), msg.from, word, msg.paramText));
    if (word == QLatin1String(W::SetCurrentEnergy)) {
        answer(msg, QStringLiteral("Ok:"));
        sendEvent(W::line(W::EvMovingCurTh, 1));
        sendEventLater(opt.moveMs, W::line(W::EvMovingCurTh, 0));
    } else if (word == QLatin1String(W::MoveSHolderTo)) {
        ++moves;
        answer(msg, QStringLiteral("Ok:"));
        sendEvent(W::line(W::EvChangerMoving, 1));
        if (moves == opt.failChanger)
            sendEventLater(opt.changerMs,
                           W::line(W::EvErrChangerMove,
                                   QStringLiteral("Sample changer stopped (simulated fault)")));
        sendEventLater(opt.changerMs, W::line(W::EvChangerMoving, 0));
    } else if (word == QLatin1String(W::SetXafsMode)) {
        quick = toIntOr0(msg.firstParam) == 1;
        answer(msg, QStringLiteral("Ok:"));
    } else if (word == QLatin1String(W::SelectXafsMeasType)) {
        stdType = toIntOr0(msg.firstParam);
        blocks.clear();
        answer(msg, QStringLiteral("Ok:"));
    } else if (word == QLatin1String(W::SetBlockUnit)) {
        blocks.clear();
        answer(msg, QStringLiteral("Ok:"));
    } else if (word == QLatin1String(W::SetBlock)) {
        blocks.insert(toIntOr0(msg.params.value(0)),
                      {msg.params.value(4).toDouble(), toIntOr0(msg.params.value(5))});
        answer(msg, QStringLiteral("Ok:"));
    } else if (word == QLatin1String(W::SetMeasTime)) {
        const int i = toIntOr0(msg.params.value(0));
        blocks.insert(i, {msg.params.value(1).toDouble(), blocks.value(i).second});
        answer(msg, QStringLiteral("Ok:"));
    } else if (word == QLatin1String(W::GetBlockNum)) {
        const int n = opt.blockNum >= 0 ? opt.blockNum : blocksForType(stdType);
        answer(msg, QString::number(n));
    } else if (word == QLatin1String(W::Start)) {
        ++starts;
        answer(msg, QStringLiteral("Ok:"));
        if (starts == opt.failStart) {
            sendEvent(
                W::line(W::EvErrStartXAFSMeas,
                        QStringLiteral("XAFS measurement could not start (simulated fault)")));
        } else {
            double seconds = 0;
            qint64 points = 0;
            for (const auto &b : std::as_const(blocks)) {
                seconds += b.second > 0 && !quick ? b.first * b.second : b.first;
                points += b.second;
            }
            const int ms = int(qMin<double>(opt.measMs + opt.timeScale * seconds * 1000 +
                                                double(opt.pointMs) * double(points),
                                            1e9));
            sendEvent(W::line(quick ? W::EvStartQMeas : W::EvStartMeas));
            sendEventLater(ms, W::line(quick ? W::EvEndQMeas : W::EvEndMeas));
        }
    } else {
        answer(msg, QStringLiteral("Ok:"));
    }
}

void DorvanSim::afterCommand()
{
    if (commands == opt.errRemoteAfter)
        sendEvent(W::line(W::EvErrRemote, QStringLiteral("Remote control lost (simulated fault)")));
    if (commands == opt.hangAfter) {
        log(QStringLiteral("hanging after command %1 (simulated fault)").arg(commands));
        hung = true;
        delete pending;
    }
    if (commands == opt.dropAfter) {
        log(QStringLiteral("dropping the connection after command %1 (simulated fault)")
                .arg(commands));
        dropping = true;
        delete pending;
        // Graceful close: the answers already written still reach the bus.
        socket->disconnectFromHost();
    }
}

void DorvanSim::answer(const AMsg &msg, const QString &text)
{
    socket->write(TolvaProto::encodeLine(TolvaProto::buildLine(
        msg.toNode, msg.toCh, msg.from, TolvaProto::answerText(msg.cmd, text))));
}

void DorvanSim::sendEvent(const QString &event)
{
    if (controller.isEmpty() || hung || finishing || dropping)
        return;
    socket->write(TolvaProto::encodeLine(
        TolvaProto::buildLine(opt.name, QString(), controller, TolvaProto::eventText(event))));
}

void DorvanSim::sendEventLater(int ms, const QString &event)
{
    if (!pending)
        return;
    QTimer::singleShot(ms, pending, [this, event]() { sendEvent(event); });
}
