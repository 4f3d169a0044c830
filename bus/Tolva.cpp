// SPDX-License-Identifier: GPL-3.0-or-later
#include "Tolva.h"

#include "ConfigStore.h"
#include "ConnectStat.h"
#include "ui_Tolva.h"

#include <QFile>
#include <QTcpSocket>
#include <QTextStream>
#include <QTimer>

Tolva::Tolva(QWidget *parent) : QFrame(parent), ui(std::make_unique<Ui::Tolva>())
{
    registerAMsgMetaType();
    ui->setupUi(this);
    // The session uses the name and the key file as the fields show them.
    session.setName(ui->nameOnTolvaLE->text());
    session.setKeyFile(ui->keyFileLE->text());
    connect(ui->nameOnTolvaLE, &QLineEdit::textChanged, this,
            [this](const QString &name) { session.setName(name); });
    connect(ui->keyFileLE, &QLineEdit::textChanged, this,
            [this](const QString &path) { session.setKeyFile(path); });

    m_headerLabels = {ui->L01, ui->L02, ui->L03, ui->L04, ui->L05, ui->L06};

    connStat = new ConnectStat(ui->statusL, ui->connectB, this);
    connStat->setStat(ConnectStat::Disconnected);
    connect(connStat, &ConnectStat::askConnect, this, &Tolva::connectToTolva);
    connect(connStat, &ConnectStat::askDisconnect, this, &Tolva::disconnectFromTolva);

    socket = new QTcpSocket(this);
    connect(socket, &QTcpSocket::connected, this, &Tolva::connectedToTolva);
    connect(socket, &QTcpSocket::disconnected, this, &Tolva::disconnectedFromTolva);
    connect(socket, &QTcpSocket::readyRead, this, &Tolva::receive);
    connect(socket, &QTcpSocket::errorOccurred, this, &Tolva::socketError);

    retryTimer = new QTimer(this);
    retryTimer->setSingleShot(true);
    connect(retryTimer, &QTimer::timeout, this, &Tolva::connectNow);
    loginTimer = new QTimer(this);
    loginTimer->setSingleShot(true);
    connect(loginTimer, &QTimer::timeout, this, &Tolva::loginTimedOut);

    connect(ui->hostLE, &QLineEdit::editingFinished, this, &Tolva::newHost);
    connect(ui->portLE, &QLineEdit::editingFinished, this, &Tolva::newPort);

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
    return ui->hostLE->text();
}

void Tolva::setHost(const QString &host)
{
    ui->hostLE->setText(host);
}

QString Tolva::port() const
{
    return ui->portLE->text();
}

void Tolva::setPort(const QString &port)
{
    ui->portLE->setText(port);
}

QString Tolva::nameOnTolva() const
{
    return ui->nameOnTolvaLE->text();
}

void Tolva::setNameOnTolva(const QString &name)
{
    ui->nameOnTolvaLE->setText(name);
}

QString Tolva::keyFile() const
{
    return ui->keyFileLE->text();
}

void Tolva::setKeyFile(const QString &path)
{
    ui->keyFileLE->setText(path);
}

void Tolva::configure(const ConfigStore &cfg)
{
    setHost(cfg.valueNoCase(QStringLiteral("TOLVA_IP"), QStringLiteral("localhost")));
    setPort(cfg.valueNoCase(QStringLiteral("TOLVA_PORT"), QStringLiteral("6057")));
    setNameOnTolva(cfg.valueNoCase(QStringLiteral("NAME_ON_TOLVA"), QStringLiteral("Tarnix")));
    setKeyFile(cfg.valueNoCase(QStringLiteral("KEY_ON_TOLVA"), QStringLiteral("Tarnix.key")));
    if (toIntOr0(cfg.valueNoCase(QStringLiteral("CONNECT_TO_TOLVA"), QStringLiteral("1"))) == 1)
        connectToTolva();
}

bool Tolva::isConnected() const
{
    return session.state() == TolvaSession::Connected;
}

void Tolva::connectToTolva()
{
    // Connect while connected or connecting gives up the connection.
    if (isConnected() || socket->state() != QAbstractSocket::UnconnectedState) {
        disconnectFromTolva();
        return;
    }
    wanted = true;
    failures = 0;
    retryTimer->stop();
    connectNow();
}

void Tolva::disconnectFromTolva()
{
    wanted = false;
    const bool retrying = retryTimer->isActive();
    retryTimer->stop();
    if (isConnected()) {
        socket->close();
        return;
    }
    if (socket->state() != QAbstractSocket::UnconnectedState) {
        TolvaSession::Action a;
        a.kind = TolvaSession::Action::Log;
        a.text = tr("Connecting to Tolva abandoned.");
        abandonLogin({a});
        return;
    }
    if (retrying)
        emit log(tr("Tolva: no longer reconnecting."));
    showState();
}

void Tolva::retryLater()
{
    if (!wanted || retryTimer->isActive())
        return;
    ++failures;
    const int ms = BusConnection::retryDelayMs(failures);
    // Said once when the link goes down; the tries after it are quiet.
    if (failures == 1)
        emit log(tr("Tolva: the connection to the bus server is down; Skedra reconnects by "
                    "itself (first try in %1 s, then at most every %2 s).")
                     .arg(ms / 1000)
                     .arg(BusConnection::retryDelayMs(100) / 1000),
                 QColor(255, 0, 0));
    retryTimer->start(ms);
    showState();
}

void Tolva::connectNow()
{
    const QString portText = ui->portLE->text();
    bool ok = false;
    const int port = portText.trimmed().toInt(&ok, 10);
    if (!ok || port < 1 || port > 65535) {
        emit log(tr("Port [%1] is not a number from 1 to 65535; not connecting to Tolva.")
                     .arg(portText));
        return;
    }
    if (socket->state() != QAbstractSocket::UnconnectedState)
        return;
    socket->connectToHost(ui->hostLE->text(), quint16(port), QIODevice::ReadWrite,
                          QAbstractSocket::AnyIPProtocol);
    loginTimer->start(loginTimeoutMs);
    showState();
}

void Tolva::loginTimedOut()
{
    abandonLogin(session.loginTimedOut((loginTimeoutMs + 999) / 1000));
}

// Drops a connection whose login did not complete. A socket still looking up
// or connecting reports no disconnection, so the state is put right here.
void Tolva::abandonLogin(const TolvaSession::Actions &why)
{
    loginTimer->stop();
    if (isConnected())
        return;
    perform(why);
    socket->abort();
    session.reset();
    showState();
    retryLater();
}

void Tolva::socketError()
{
    // A lost connection is reported by disconnectedFromTolva; this is for a
    // connection that never came up.
    if (socket->state() != QAbstractSocket::UnconnectedState || isConnected() ||
        socket->error() == QAbstractSocket::RemoteHostClosedError)
        return;
    loginTimer->stop();
    // Each failed try of a reconnection is not worth a red line.
    if (failures == 0)
        emit log(tr("Cannot connect to Tolva: %1").arg(socket->errorString()), QColor(255, 0, 0));
    showState();
    retryLater();
}

void Tolva::connectedToTolva()
{
    // The TCP connection alone changes no state: the server's challenge does.
    session.reset();
}

void Tolva::disconnectedFromTolva()
{
    loginTimer->stop();
    session.reset();
    showState();
    emit tolvaIsNotReady();
    retryLater();
}

void Tolva::closeConnection()
{
    socket->close();
}

void Tolva::setBusy(bool f)
{
    if (const auto event = session.setBusy(f))
        emit sendingEventToTolva(put(*event));
}

QString Tolva::put(const TolvaSession::Outgoing &out)
{
    if (!out.bytes.isEmpty()) {
        socket->write(out.bytes);
        if (logSendingMsg)
            emit log(QStringLiteral("---- Snd %1").arg(out.line), sentColour);
        // Whoever sent it, a line that did not go out as written is never silent.
        if (!out.lost.isEmpty())
            emit log(out.lossText(), QColor(255, 0, 0));
    }
    return out.result();
}

void Tolva::sendCmd(const QString &fromCh, const QString &to, const QString &cmd)
{
    sendCmdV(fromCh, to, cmd, QString());
}

void Tolva::sendCmdV(const QString &fromCh, const QString &to, const QString &cmd,
                     const QString &val)
{
    emit sendingAskToTolva(put(session.command(fromCh, to, cmd, val)));
}

void Tolva::sendEvent(const QString &fromCh, const QString &event)
{
    emit sendingEventToTolva(put(session.event(fromCh, event)));
}

void Tolva::sendAns(const AMsg &aMsg, const QString &ans)
{
    emit sendingAnsToTolva(put(session.answer(aMsg, ans)));
}

void Tolva::sendOk(const AMsg &aMsg)
{
    sendAns(aMsg, QStringLiteral("Ok:"));
}

void Tolva::receive()
{
    session.receive(socket->readAll());
    TolvaSession::Actions actions;
    while (session.next(&actions)) {
        perform(actions);
        // A refused login or a handler may have closed the socket: what was
        // still buffered belongs to the old connection.
        if (socket->state() != QAbstractSocket::ConnectedState) {
            session.discardInput();
            return;
        }
    }
}

void Tolva::perform(const TolvaSession::Actions &actions)
{
    for (const TolvaSession::Action &a : actions) {
        switch (a.kind) {
        case TolvaSession::Action::Write:
            socket->write(a.bytes);
            break;
        case TolvaSession::Action::Send:
            emit sendingAnsToTolva(put(TolvaSession::Outgoing{a.text, a.bytes, {}}));
            break;
        case TolvaSession::Action::Log:
            emit log(a.text, QColor(Qt::black));
            break;
        case TolvaSession::Action::Error:
            emit log(a.text, QColor(255, 0, 0));
            break;
        case TolvaSession::Action::VerboseLog:
            emit vlog(a.text, QColor(Qt::black));
            break;
        case TolvaSession::Action::Ready:
            loginTimer->stop();
            retryTimer->stop();
            if (failures > 0)
                emit log(tr("Tolva: connected again to the bus server."));
            failures = 0;
            // Handlers of tolvaIsReady send at once: the row shows Connected first.
            showState();
            emit tolvaIsReady();
            break;
        case TolvaSession::Action::HandOn:
            switch (a.msg.kind) {
            case AMsgKind::Ask:
                emit anyAsk(a.msg);
                break;
            case AMsgKind::Event:
                emit anyEvent(a.msg);
                break;
            case AMsgKind::Ans:
                emit anyAns(a.msg);
                break;
            case AMsgKind::None:
                break;
            }
            break;
        case TolvaSession::Action::Close:
            socket->disconnectFromHost();
            break;
        case TolvaSession::Action::Abort:
            socket->abort();
            break;
        }
    }
    showState();
}

void Tolva::showState()
{
    // From Connect to the challenge the session is not yet logging in, but
    // the button must already offer to abort.
    int state = session.state();
    if (state == TolvaSession::Disconnected && socket->state() != QAbstractSocket::UnconnectedState)
        state = TolvaSession::Connecting;
    if (connStat->stat() != state)
        connStat->setStat(state);
    QString text = ui->statusL->text();
    if (state == TolvaSession::Disconnected && retryTimer->isActive())
        text = tr("reconnecting (try %1 in %2 s)")
                   .arg(failures + 1)
                   .arg((retryTimer->remainingTime() + 999) / 1000);
    if (text != shownState) {
        shownState = text;
        emit stateText(text);
    }
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

namespace {

// The history record of an edit ("A: host"), or nothing when the edit names
// what was recorded last. One record a line: a line break pasted into the
// field with the host must not forge a record of its own.
QString historyRecord(const char *tag, const QString &edited, const QString &last)
{
    const QString text = edited.simplified();
    return text == last ? QString() : QStringLiteral("%1: %2\n").arg(QLatin1String(tag), text);
}

} // namespace

void Tolva::newHost()
{
    QString lastHost;
    readHistory(&lastHost, nullptr);
    const QString record = historyRecord("A", ui->hostLE->text(), lastHost);
    if (!record.isEmpty())
        appendHistory(record);
}

void Tolva::newPort()
{
    QString lastPort;
    readHistory(nullptr, &lastPort);
    const QString record = historyRecord("P", ui->portLE->text(), lastPort);
    if (!record.isEmpty())
        appendHistory(record);
}

QPushButton *Tolva::connectButton() const
{
    return ui->connectB;
}

QString Tolva::statusText() const
{
    return ui->statusL->text();
}
