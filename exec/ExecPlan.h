// The command plan: what the engine sends to the target for one schedule
// entry, stage by stage, as pure functions of values.
//
// runStage() takes the stage to run, the current entry, its list neighbour
// above (the entry itself for the first one), whether it is the first entry
// of the list, and the target's answers so far (the block count). It returns
// the command lines for the target, the operator prompts to raise, the log
// lines, the flags that now hold the engine and the stage to go on with. The
// engine (Exec) sends what it returns and waits on the flags; the dry run
// calls the same function against a target that answers at once; tests state
// "this entry after that one sends exactly these lines".
#pragma once

#include "Entry.h"
#include "ExecFlags.h"
#include "PromptType.h"

#include <QList>
#include <QString>
#include <QStringList>

struct PlanPrompt
{
    QString text;
    PromptType type = PromptNone;
};

struct StageResult
{
    QStringList lines;           // commands for the target, in order
    QList<PlanPrompt> prompts;   // raised before the lines are sent
    QStringList logs;            // red lines for the operator's log
    QList<ExecFlags::Flag> hold; // flags set by this stage
    int next = Stage::Initialize;
    bool fallThrough = false; // run the next stage within the same tick
    QString error;            // the run cannot go on with this entry
};

struct StageInput
{
    const Entry &cur;
    const Entry &prev;
    int current = 0;  // the entry's place in the list (0 for the first)
    int blockNum = 1; // the target's answer to "GetBlockNum"
};

// The block counts the engine accepts from the target: a count outside them
// is a broken answer, not millions of SetMeasTime lines.
constexpr int kMaxBlockNum = 100;

StageResult runStage(int stage, const StageInput &in);

// Everything one entry makes the engine do, from stage 0 to "Start", when the
// target answers at once and reports blockNum blocks: the stages' results
// joined in order. Stops at the first stage that reports an error.
StageResult planEntry(const StageInput &in);

// The stage names shown to the operator (translated), Stage::NotInExec and
// the waits on the target itself included.
QString stageName(int stage);

// The prompt texts, as the operator reads them.
QString icGasesPrompt(const aAtom &newAtom, const aAtom &oldAtom, int newCore, int oldCore);
QString hocmPrompt(int newMode, int oldMode);
QString monoPrompt(int newMode, int oldMode);
