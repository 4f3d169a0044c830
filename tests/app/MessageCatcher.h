// Captures what the code under test writes on Qt's debug channel.
#pragma once

#include <QStringList>
#include <QtGlobal>

class MessageCatcher
{
public:
    MessageCatcher() : m_previous(qInstallMessageHandler(&MessageCatcher::handler))
    {
        messages().clear();
    }
    ~MessageCatcher() { qInstallMessageHandler(m_previous); }
    const QStringList &lines() const { return messages(); }
    bool contains(const QString &text) const { return !messages().filter(text).isEmpty(); }

private:
    static QStringList &messages()
    {
        static QStringList list;
        return list;
    }
    static void handler(QtMsgType, const QMessageLogContext &, const QString &msg)
    {
        messages() << msg;
    }
    QtMessageHandler m_previous = nullptr;
};
