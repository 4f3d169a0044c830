// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's flags: what holds it (moves, prompts, a measurement, a
// question to the target) and the errors the target reported. The engine
// owns the values; the status panel shows them.
#pragma once

#include "EntryState.h"

struct ExecFlags
{
    // In the order the panel switches them off when it is built.
    enum Flag {
        TargetReady,
        SHolderMoving,
        MainThMoving,
        ICGasesChanging,
        HOCMChanging,
        MonoChanging,
        DarkMeasuring, // holds the engine, but nothing sets it: the dark measurement is not waited
                       // for
        InXAFSMeas,
        ErrStartingXafsMeas,
        ErrRemote,
        ErrSHolderMove,
        BusyAskingBlockNum,
        FlagCount
    };
};

// The engine's stages for one entry, in the order it walks them.
namespace Stage {
enum Id {
    Initialize = 0,
    SelectEdge = 1,
    Move = 2,
    ScanMode = 3,
    FileName = 4,
    Blocks = 5,
    MeasTime = 6,
    Dark = 7,
    Start = 8,
    End = 9,
    NotInExec = 10,
    // Not stages of an entry: what the stage name shows while the engine
    // waits on the target itself.
    WaitingForTarget = 11, // before sending: the target is not logged in
    TargetLost = 12,       // the target went away during an entry
    TargetMeasuring = 13   // stopped, but the target's measurement goes on
};
} // namespace Stage
