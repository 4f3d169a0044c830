// SPDX-License-Identifier: GPL-3.0-or-later
// The command plan: what the engine sends to the target for one schedule
// entry, stage by stage, as pure functions of values.
//
// runStage() takes the stage to run, the current entry, the entry whose
// commands the target last carried out in this run (none for the first entry
// a run sends, and after anything that leaves the beamline's state unknown: a
// failed entry, a Resume, a target that was lost), and the target's answers so
// far (the block count). It returns
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

#include <optional>

struct PlanPrompt
{
    QString text;
    PromptType type = PromptNone;
};

struct StageResult
{
    // The entry as the target measures it, once the blocks stage has read a
    // block file: the file's blocks in place of the entry's own. The engine
    // times the measurement and compares the next entry with this one.
    std::optional<Entry> measured;
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
    // The last entry this run measured, or null: then every move is sent and
    // every manual change is asked for, whatever the beamline was left at.
    const Entry *prev = nullptr;
    int current = 0;  // the entry's place in the list, from 0
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
// The same stages as one ASCII word each, never translated: what peers read
// in the run status ("running 2/5 measuring ETA 02:15").
QString stageWord(int stage);

// The prompt texts, as the operator reads them.
QString icGasesPrompt(const aAtom &newAtom, const aAtom &oldAtom, int newCore, int oldCore);
QString hocmPrompt(int newMode, int oldMode);
QString monoPrompt(int newMode, int oldMode);
