// Captures what the code under test writes on Qt's debug channel.
#pragma once

#include <QStringList>
#include <QtGlobal>

class MessageCatcher
{
public:
    MessageCatcher()
    {
        messages().clear();
        m_previous = qInstallMessageHandler(&MessageCatcher::handler);
    }
    ~MessageCatcher() { qInstallMessageHandler(m_previous); }
    const QStringList &lines() const { return messages(); }
    bool contains(const QString &text) const
    {
        for (const QString &m : messages())
            if (m.contains(text))
                return true;
        return false;
    }

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
