#include "Tolva.h"

#include "ConnectStat.h"
#include "TolvaProto.h"

#include <QFile>
#include <QFileInfo>
#include <QTcpSocket>
#include <QTextStream>

Tolva::Tolva(QWidget *parent) : QFrame(parent)
{
    registerAMsgMetaType();
    ui.setupUi(this);
    logSendingMsg = false;

    cmdTable.addCommand(0, QStringLiteral("Hello"), QStringLiteral("Answer greeting message"));
    cmdTable.addCommand(1, QStringLiteral("Help"), QStringLiteral("Show help message"));
    cmdTable.addCommand(2, QStringLiteral("IsBusy"), QStringLiteral("Answer if Tarnix is busy"));
    cmdTable.addCommand(3, QStringLiteral("Connected"), QString());
    cmdTable.addCommand(4, QStringLiteral("Disconnected"), QString());
    cmdTable.addCommand(5, QStringLiteral("EvChangerMoving"), QString());
    cmdTable.addCommand(6, QStringLiteral("EvMovingCurTh"), QString());
    cmdTable.addCommand(7, QStringLiteral("EvStartMeas"), QString());
    cmdTable.addCommand(8, QStringLiteral("EvEndMeas"), QString());
    cmdTable.addCommand(9, QStringLiteral("EvStartQMeas"), QString());
    cmdTable.addCommand(10, QStringLiteral("EvEndQMeas"), QString());
    cmdTable.addCommand(11, QStringLiteral("EvErrStartXAFSMeas"), QString());
    cmdTable.addCommand(12, QStringLiteral("EvErrRemote"), QString());
    cmdTable.addCommand(13, QStringLiteral("EvErrChangerMove"), QString());
    cmdTable.addCommand(15, QStringLiteral("RemoteOn"), QString());
    cmdTable.addCommand(14, QStringLiteral("listnodes"), QString());
    cmdTable.addCommand(16, QStringLiteral("GetBlockNum"), QString());

    m_headerLabels = {ui.L01, ui.L02, ui.L03, ui.L04, ui.L05, ui.L06};

    connStat = new ConnectStat(ui.statusL, ui.connectB, this);
    connStat->setStat(ConnectStat::Disconnected);
    connect(connStat, &ConnectStat::askConnect, this, &Tolva::connectToTolva);
    connect(connStat, &ConnectStat::askDisconnect, this, &Tolva::connectToTolva);

    socket = new QTcpSocket(this);
    connect(socket, &QTcpSocket::connected, this, &Tolva::connectedToTolva);
    connect(socket, &QTcpSocket::disconnected, this, &Tolva::disconnectedFromTolva);
    connect(socket, &QTcpSocket::readyRead, this, &Tolva::receive);

    connect(ui.hostLE, &QLineEdit::editingFinished, this, &Tolva::newHost);
    connect(ui.portLE, &QLineEdit::editingFinished, this, &Tolva::newPort);

    setBusy(false);
}

Tolva::~Tolva()
{
    // Nobody listening may be half destroyed by now: close without notices.
    socket->disconnect(this);
    if (isConnected())
        socket->close();
}

int Tolva::state() const
{
    return connStat->stat();
}

QString Tolva::host() const
{
    return ui.hostLE->text();
}

void Tolva::setHost(const QString &host)
{
    ui.hostLE->setText(host);
}

QString Tolva::port() const
{
    return ui.portLE->text();
}

void Tolva::setPort(const QString &port)
{
    ui.portLE->setText(port);
}

QString Tolva::nameOnTolva() const
{
    return ui.nameOnTolvaLE->text();
}

void Tolva::setNameOnTolva(const QString &name)
{
    ui.nameOnTolvaLE->setText(name);
}

QString Tolva::keyFile() const
{
    return ui.keyFileLE->text();
}

void Tolva::setKeyFile(const QString &path)
{
    ui.keyFileLE->setText(path);
}

bool Tolva::isConnected() const
{
    return connStat->stat() == ConnectStat::Connected;
}

void Tolva::connectToTolva()
{
    if (isConnected()) {
        socket->close();
        return;
    }
    // A socket already connecting or connected refuses a second connect.
    if (socket->state() != QAbstractSocket::UnconnectedState)
        return;
    const QString portText = ui.portLE->text();
    bool ok = false;
    const int port = portText.trimmed().toInt(&ok, 10);
    if (!ok || port < 1 || port > 65535) {
        emit log(tr("Port [%1] is not a number from 1 to 65535; not connecting to Tolva.")
                     .arg(portText));
        return;
    }
    socket->connectToHost(ui.hostLE->text(), quint16(port), QIODevice::ReadWrite,
                          QAbstractSocket::AnyIPProtocol);
}

void Tolva::connectedToTolva()
{
    // The TCP connection alone changes no state: the server's challenge does.
    framer.clear();
}

void Tolva::disconnectedFromTolva()
{
    framer.clear();
    connStat->setStat(ConnectStat::Disconnected);
    emit tolvaIsNotReady();
}

void Tolva::closeConnection()
{
    socket->close();
}

void Tolva::setBusy(bool f)
{
    if (f == busyFlag)
        return;
    sendEvent(QString(), QStringLiteral("ChangedIsBusy %1").arg(f ? 1 : 0));
    busyFlag = f;
}

QString Tolva::send(const QString &fromNode, const QString &fromCh, const QString &to,
                    const QString &text)
{
    QString line = TolvaProto::buildLine(fromNode, fromCh, to, text);
    // Entry fields go into commands as typed: a CR or LF inside would put a
    // second, forged line on the bus.
    line.replace(QLatin1Char('\r'), QLatin1Char(' '));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (!isConnected())
        return QStringLiteral("Tolva is not ready (%1)").arg(line);
    socket->write(TolvaProto::encodeLine(line));
    if (logSendingMsg)
        emit log(QStringLiteral("---- Snd %1").arg(line), sentColour);
    return line;
}

void Tolva::sendCmd(const QString &fromCh, const QString &to, const QString &cmd)
{
    sendCmdV(fromCh, to, cmd, QString());
}

void Tolva::sendCmdV(const QString &fromCh, const QString &to, const QString &cmd,
                     const QString &val)
{
    emit sendingAskToTolva(send(nameOnTolva(), fromCh, to, TolvaProto::commandText(cmd, val)));
}

void Tolva::sendEvent(const QString &fromCh, const QString &event)
{
    emit sendingEventToTolva(
        send(nameOnTolva(), fromCh, QStringLiteral("System"), TolvaProto::eventText(event)));
}

void Tolva::sendAns(const AMsg &aMsg, const QString &ans)
{
    emit sendingAnsToTolva(
        send(aMsg.toNode, aMsg.toCh, aMsg.from, TolvaProto::answerText(aMsg.cmd, ans)));
}

void Tolva::sendOk(const AMsg &aMsg)
{
    sendAns(aMsg, QStringLiteral("Ok:"));
}

void Tolva::receive()
{
    framer.append(socket->readAll());
    QByteArray raw;
    for (;;) {
        const LineFramer::Result r = framer.take(&raw);
        if (r == LineFramer::NeedMore)
            return;
        if (r == LineFramer::Overflow) {
            emit log(tr("A line from Tolva is longer than %1 bytes; closing the connection.")
                         .arg(framer.maxLineLength()));
            socket->abort();
            return;
        }
        handleLine(QString::fromUtf8(raw));
        // A refused login or an answer handler may have closed the socket:
        // what was still buffered belongs to the old connection.
        if (socket->state() != QAbstractSocket::ConnectedState) {
            framer.clear();
            return;
        }
    }
}

void Tolva::handleLine(const QString &line)
{
    emit vlog(QStringLiteral("msg from tolva[%1]").arg(line.simplified()), QColor(Qt::black));
    switch (connStat->stat()) {
    case ConnectStat::Disconnected:
        exchangeKey(line);
        connStat->setStat(ConnectStat::Connecting);
        break;
    case ConnectStat::Connecting:
        if (line.startsWith(QStringLiteral("System>%1 Ok:").arg(nameOnTolva()))) {
            connStat->setStat(ConnectStat::Connected);
            emit tolvaIsReady();
            emit log(tr("Connected To Tolva"), QColor(Qt::black));
        } else {
            socket->disconnectFromHost();
        }
        break;
    case ConnectStat::Connected:
        dispatch(line);
        break;
    default:
        break;
    }
}

void Tolva::exchangeKey(const QString &challenge)
{
    keys.clear();
    const QString keyText = ui.keyFileLE->text();
    const QString path = keyText.isEmpty() ? QString() : QFileInfo(keyText).absoluteFilePath();
    emit log(tr("opening key file [%1]").arg(path), QColor(Qt::black));
    bool opened = false;
    keys = TolvaProto::loadKeys(path, &opened);
    if (!opened)
        emit log(tr("Can't open key file [%1]").arg(path), QColor(Qt::black));
    if (keys.isEmpty()) {
        emit log(tr("I have no key to exchange with Tolva."), QColor(Qt::black));
        return;
    }
    const int index = TolvaProto::keyIndexFor(challenge, keys.size());
    const QString name = nameOnTolva();
    // The key itself is a secret and the log may go to a file: name its position.
    emit log(tr("sending key [%1][key %2 of %3]").arg(name).arg(index + 1).arg(keys.size()),
             QColor(Qt::black));
    socket->write(TolvaProto::keyReply(name, keys.at(index)));
}

void Tolva::dispatch(const QString &line)
{
    AMsg msg;
    msg.parse(line);
    msg.cmdId = cmdTable.idOf(msg.cmd);
    if (!msg.valid)
        return;
    switch (msg.cmdId) {
    case 0:
        sendAns(msg, QStringLiteral("Hello! I am %1. Nice to meet you!").arg(nameOnTolva()));
        break;
    case 1:
        answerHelp(msg);
        break;
    case 2:
        sendAns(msg, QStringLiteral("%1").arg(busyFlag ? 1 : 0));
        break;
    default:
        switch (msg.kind) {
        case AMsgKind::Ask:
            emit anyAsk(msg);
            break;
        case AMsgKind::Event:
            emit anyEvent(msg);
            break;
        case AMsgKind::Ans:
            emit anyAns(msg);
            break;
        case AMsgKind::None:
            break;
        }
        break;
    }
}

void Tolva::answerHelp(const AMsg &msg)
{
    if (msg.params.isEmpty()) {
        sendAns(msg, QStringLiteral("Commands : ") + cmdTable.commandList());
        return;
    }
    if (cmdTable.idOf(msg.firstParam) != NodeCmdTable::NotFoundId)
        sendAns(msg, QStringLiteral(": ") + cmdTable.helpOf(msg.firstParam));
    else
        sendAns(msg, QStringLiteral("Er: Command [%1] not found.").arg(msg.firstParam));
}

NodeCmdTable::Answer Tolva::answerFn()
{
    return [this](const AMsg &m, const QString &ans) { sendAns(m, ans); };
}

bool Tolva::checkParamsEq(const AMsg &msg, int n)
{
    return NodeCmdTable::checkParamsEq(msg, n, answerFn());
}

int Tolva::checkParamsMax(const AMsg &msg, int n)
{
    return NodeCmdTable::checkParamsMax(msg, n, answerFn());
}

int Tolva::checkParamsMin(const AMsg &msg, int n)
{
    return NodeCmdTable::checkParamsMin(msg, n, answerFn());
}

void Tolva::readHistory(QString *lastHost, QString *lastPort)
{
    QString host;
    QString port;
    QFile file(historyFileName());
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QTextStream in(&file);
        QString line;
        while (in.readLineInto(&line)) {
            const QStringList fields = line.simplified().split(QLatin1Char(' '));
            if (fields.size() < 2)
                continue;
            const QString tag = fields.at(0).toUpper();
            if (tag == QLatin1String("A:"))
                host = fields.at(1);
            else if (tag == QLatin1String("P:"))
                port = fields.at(1);
        }
    }
    if (lastHost)
        *lastHost = host;
    if (lastPort)
        *lastPort = port;
}

void Tolva::appendHistory(const QString &record)
{
    QFile file(historyFileName());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return;
    QTextStream out(&file);
    out << record;
}

void Tolva::newHost()
{
    QString lastHost;
    readHistory(&lastHost, nullptr);
    QString text = ui.hostLE->text();
    if (text == lastHost)
        return;
    text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    appendHistory(QStringLiteral("A: %1\n").arg(text));
}

void Tolva::newPort()
{
    QString lastPort;
    readHistory(nullptr, &lastPort);
    QString text = ui.portLE->text();
    if (text == lastPort)
        return;
    text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    appendHistory(QStringLiteral("P: %1\n").arg(text));
}
