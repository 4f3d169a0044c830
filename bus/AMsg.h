// SPDX-License-Identifier: GPL-3.0-or-later
// One received bus line as a value record.
//
// The Tolva bus carries lines "sender>receiver word params...". parse() splits
// such a line into the fields below; the bus session (TolvaSession.h) fills
// cmdId from its NodeCmdTable, and the bus client (Tolva.h) hands the record
// by value, through queued connections if need be, to the main window and the
// execution engine. The outgoing formats live in TolvaProto.h.
#pragma once

#include <QMetaType>
#include <QString>
#include <QStringList>

enum class AMsgKind : qint32 { Ans = 0, Event = 1, Ask = 2, None = 3 };

struct AMsg
{
    bool valid = false;
    QString line;       // received text without any CR or LF
    QString header;     // "from>to"
    QString body;       // text after the header, starting with its blank
    QString from;       // header before the first '>'
    QString to;         // header after the first '>'
    QString fromNode;   // from before its first '.'
    QString fromCh;     // from after its first '.', or empty
    QString fromAddr;   // fromNode[.fromCh]
    QString toNode;     // to before its first '.'
    QString toCh;       // to after its first '.', or empty
    QString toAddr;     // toNode[.toCh]
    QString cmd;        // message word without its '@' or '_'
    QString firstParam; // first parameter item, or empty
    QStringList params; // every parameter item
    QString paramText;  // raw text after the word, leading blank and quotes kept
    AMsgKind kind = AMsgKind::None;
    qint32 cmdId = -1; // id in the node command table; set by the bus session

    // Fills the record from one received line and returns valid. Meant for a
    // freshly constructed record: fields the line does not reach keep their value.
    bool parse(const QString &text);
};

Q_DECLARE_METATYPE(AMsg)

// Registers AMsg with the meta-type system so that it can travel through
// queued connections between threads. Safe to call more than once.
void registerAMsgMetaType();
