// SPDX-License-Identifier: GPL-3.0-or-later
#include "TolvaProto.h"

#include "ConfigStore.h"

#include <QFile>
#include <QTextStream>

namespace TolvaProto {

QString senderAddress(const QString &node, const QString &ch)
{
    return ch.isEmpty() ? node : node + QLatin1Char('.') + ch;
}

QString buildLine(const QString &fromNode, const QString &fromCh, const QString &to,
                  const QString &text)
{
    return QStringLiteral("%1>%2 %3").arg(senderAddress(fromNode, fromCh), to, text);
}

QString answerText(const QString &cmd, const QString &ans)
{
    return QStringLiteral("@%1 %2").arg(cmd, ans);
}

QString eventText(const QString &event)
{
    return QLatin1Char('_') + event;
}

QString commandText(const QString &cmd, const QString &val)
{
    return val.isEmpty() ? cmd : cmd + QLatin1Char(' ') + val;
}

QByteArray encodeLine(const QString &line)
{
    QByteArray out = line.toLatin1();
    for (char &c : out) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    out.append('\n');
    return out;
}

QString unencodable(const QString &line)
{
    QList<char32_t> seen;
    for (const char32_t c : line.toUcs4()) {
        if (c > 0xff && !seen.contains(c))
            seen.append(c);
    }
    return QString::fromUcs4(seen.constData(), seen.size());
}

QStringList loadKeys(const QString &path, bool *opened)
{
    QStringList keys;
    QFile file(path);
    const bool ok = file.open(QIODevice::ReadOnly | QIODevice::Text);
    if (opened)
        *opened = ok;
    if (!ok)
        return keys;
    QTextStream in(&file);
    QString line;
    while (in.readLineInto(&line))
        keys.append(line.simplified());
    return keys;
}

int keyIndexFor(const QString &challenge, qsizetype keyCount)
{
    if (keyCount <= 0)
        return -1;
    const qint64 c = toIntOr0(challenge);
    const qint64 n = keyCount;
    return int(((c % n) + n) % n);
}

QByteArray keyReply(const QString &name, const QString &key)
{
    return QStringLiteral("%1 %2\n").arg(name, key).toLatin1();
}

} // namespace TolvaProto
