// SPDX-License-Identifier: GPL-3.0-or-later
// Ids of the words in this client's node command table.
//
// The bus session registers its table with these ids and the main window
// switches on them for every received message. Peers only ever see the words,
// so the numbers are this program's own; they are declared once here so the
// registration and the switches cannot drift apart.
#pragma once

#include <QtGlobal>

enum BusCommandId : qint32 {
    IdHello = 0,
    IdHelp = 1,
    IdIsBusy = 2,
    IdConnected = 3,
    IdDisconnected = 4,
    IdEvChangerMoving = 5,
    IdEvMovingCurTh = 6,
    IdEvStartMeas = 7,
    IdEvEndMeas = 8,
    IdEvStartQMeas = 9,
    IdEvEndQMeas = 10,
    IdEvErrStartXAFSMeas = 11,
    IdEvErrRemote = 12,
    IdEvErrChangerMove = 13,
    IdListNodes = 14,
    IdRemoteOn = 15,
    IdGetBlockNum = 16,
    IdGetRunStatus = 17,
};
