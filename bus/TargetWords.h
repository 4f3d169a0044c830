// SPDX-License-Identifier: GPL-3.0-or-later
// The words of the target's remote interface: the commands this program
// sends to it and the events it sends back.
//
// The command plan, the dry run, the engine (which waits on some of the
// commands) and the stand-in target all spell them from here, so a word
// cannot be sent in one spelling and understood in another. The target
// matches words exactly, so these texts are kept as the target has them.
#pragma once

#include <QString>

namespace TargetWords {

// Commands, sent to the target's remote address.
inline constexpr char RemoteOn[] = "RemoteOn";
inline constexpr char SelectAtom[] = "SelectAtom";
inline constexpr char SelectEdge[] = "SelectEdge";
inline constexpr char SetCurrentEnergy[] = "SetCurrentEnergy";
inline constexpr char MoveSHolderTo[] = "MoveSHolderTo";
inline constexpr char SetXafsMode[] = "SetXafsMode";
inline constexpr char SelectXafsMeasMode[] = "SelectXafsMeasMode";
inline constexpr char SetXafsFileName[] = "SetXafsFileName";
inline constexpr char SetXafsMeasComment[] = "SetXafsMeasComment";
inline constexpr char SelectXafsMeasType[] = "SelectXafsMeasType";
inline constexpr char GetBlockNum[] = "GetBlockNum";
inline constexpr char SetBlockUnit[] = "SetBlockUnit";
inline constexpr char SetBlockNum[] = "SetBlockNum";
inline constexpr char SetBlock[] = "SetBlock";
inline constexpr char SetMeasTime[] = "SetMeasTime";
inline constexpr char SetMeasDarkTime[] = "SetMeasDarkTime";
inline constexpr char MeasDark[] = "MeasDark";
inline constexpr char SetMeasDarkMode[] = "SetMeasDarkMode";
inline constexpr char Start[] = "Start";

// Events, sent by the target to the node that took remote control.
inline constexpr char EvChangerMoving[] = "EvChangerMoving";
inline constexpr char EvMovingCurTh[] = "EvMovingCurTh";
inline constexpr char EvStartMeas[] = "EvStartMeas";
inline constexpr char EvEndMeas[] = "EvEndMeas";
inline constexpr char EvStartQMeas[] = "EvStartQMeas";
inline constexpr char EvEndQMeas[] = "EvEndQMeas";
inline constexpr char EvErrStartXAFSMeas[] = "EvErrStartXAFSMeas";
inline constexpr char EvErrRemote[] = "EvErrRemote";
inline constexpr char EvErrChangerMove[] = "EvErrChangerMove";

inline QString param(const QString &text)
{
    return text;
}

inline QString param(int n)
{
    return QString::number(n);
}

// The word followed by its parameters, one blank before each (an empty
// parameter still gets its blank, as the target has always been sent it).
// Only texts and integers are taken: a number with a fraction must be
// formatted by the caller, who knows how many digits the target expects.
template <typename... Params> QString line(const char *word, const Params &...params)
{
    QString out = QString::fromLatin1(word);
    ((out += QLatin1Char(' '), out += param(params)), ...);
    return out;
}

} // namespace TargetWords
