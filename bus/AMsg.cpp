// SPDX-License-Identifier: GPL-3.0-or-later
#include "AMsg.h"

#include "ConfigStore.h"

namespace {

void splitAddress(const QString &addr, QString *node, QString *ch)
{
    const int dot = addr.indexOf(QLatin1Char('.'));
    if (dot < 0) {
        *node = addr;
        ch->clear();
    } else {
        *node = addr.left(dot);
        *ch = addr.mid(dot + 1);
    }
}

QString joinAddress(const QString &node, const QString &ch)
{
    return ch.isEmpty() ? node : node + QLatin1Char('.') + ch;
}

} // namespace

bool AMsg::parse(const QString &text)
{
    valid = false;
    line = text;
    line.remove(QLatin1Char('\n'));
    line.remove(QLatin1Char('\r'));
    header = takeItem(line, &body);

    const int gt = header.indexOf(QLatin1Char('>'));
    if (!body.isEmpty() && gt >= 0) {
        from = header.left(gt);
        to = header.mid(gt + 1);
        splitAddress(from, &fromNode, &fromCh);
        splitAddress(to, &toNode, &toCh);

        QString word = takeItem(body, &paramText);
        if (!paramText.isEmpty()) {
            QString rest = paramText;
            do {
                QString next;
                params.append(takeItem(rest, &next));
                rest = next;
            } while (!rest.isEmpty());
        }
        if (!params.isEmpty())
            firstParam = params.first();

        if (word.startsWith(QLatin1Char('@'))) {
            kind = AMsgKind::Ans;
            word.remove(0, 1);
        } else if (word.startsWith(QLatin1Char('_'))) {
            kind = AMsgKind::Event;
            word.remove(0, 1);
        } else {
            kind = AMsgKind::Ask;
        }
        cmd = word;
        valid = true;
    }

    fromAddr = joinAddress(fromNode, fromCh);
    toAddr = joinAddress(toNode, toCh);
    return valid;
}

void registerAMsgMetaType()
{
    qRegisterMetaType<AMsg>("AMsg");
}
