// The engine's flags: what holds it (moves, prompts, a measurement, a
// question to the target) and the errors the target reported. The engine
// owns the values; the status panel shows them.
#pragma once

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
        DarkMeasuring, // holds the engine, but nothing sets it: the dark measurement is not waited for
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
    NotInExec = 10
};
} // namespace Stage

// What became of an entry in a run. The engine reports how each entry ended;
// the overview, the entry's status label and the journal show it.
enum class EntryState { Pending, Running, Done, Failed, Skipped, Stopped };
