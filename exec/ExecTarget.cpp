// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's side of the target's events and answers: its presence, the
// moves and measurements it reports, its errors and refusals, and the
// operator's prompts, each setting or clearing the flags the stages wait on.
#include "Exec.h"

#include "ExecPlan.h"
#include "TargetWords.h"

void Exec::setTargetIsReady(bool f)
{
    using F = ExecFlags;
    const bool was = flag(F::TargetReady);
    setFlag(F::TargetReady, f);
    if (f && running && awaitingReady)
        emit execNext();
    if (f && running && lost && resumeOnReturn)
        takeUpAgain();
    if (f || !was)
        return;
    // The end event came before the target left: the entry is done.
    const bool measured = stageNo == Stage::End && !flag(F::InXAFSMeas);
    // A target that comes back may have been moved by hand or restarted.
    lastMeasured.reset();
    // Only the target could end these waits; a target that logs in again
    // knows nothing of them.
    for (F::Flag g : {F::MainThMoving, F::SHolderMoving, F::BusyAskingBlockNum, F::InXAFSMeas,
                      F::DarkMeasuring}) {
        if (flag(g))
            setFlag(g, false);
    }
    if (running && !lost && entrySent && !measured) {
        // Part of the entry reached a target that is gone: where to go on
        // from is the operator's choice.
        lost = true;
        const QString line =
            tr("Entry %1: the target was lost; the run holds. Resume or Start once "
               "it is back.")
                .arg(current + 1);
        emit log(line, Severity::Error);
        emit targetLost(line);
        showStage(Stage::TargetLost);
    } else if (!running && shownStage == Stage::TargetMeasuring) {
        showStage(Stage::NotInExec);
    }
}

void Exec::setMainThIsMoving(bool f)
{
    setFlag(ExecFlags::MainThMoving, f);
}

void Exec::setSHolderIsMoving(bool f)
{
    setFlag(ExecFlags::SHolderMoving, f);
}

void Exec::setICGasesChanging(bool f)
{
    setFlag(ExecFlags::ICGasesChanging, f);
}

void Exec::setHOCMModeChanging(bool f)
{
    setFlag(ExecFlags::HOCMChanging, f);
}

void Exec::setMonoModeChanging(bool f)
{
    setFlag(ExecFlags::MonoChanging, f);
}

void Exec::setInXafsMeas(bool f)
{
    setFlag(ExecFlags::InXAFSMeas, f);
    if (!f && !running && shownStage == Stage::TargetMeasuring)
        showStage(Stage::NotInExec);
}

void Exec::setErrStartingXAFSMeas(bool f, QString msg)
{
    setFlag(ExecFlags::ErrStartingXafsMeas, f);
    emit errMsgChanged(msg);
    if (f) {
        setFlag(ExecFlags::InXAFSMeas, false);
        failEntry(msg.isEmpty() ? tr("the measurement did not start") : msg);
    }
}

void Exec::setErrRemote(bool f, QString msg)
{
    setFlag(ExecFlags::ErrRemote, f);
    emit errRemoteMsgChanged(msg);
}

void Exec::setErrSHolderMove(bool f, QString msg)
{
    setFlag(ExecFlags::ErrSHolderMove, f);
    if (f) {
        setFlag(ExecFlags::SHolderMoving, false);
        failEntry(msg.isEmpty() ? tr("the sample holder did not move") : msg);
    }
}

void Exec::setBusyAskingBlockNum(bool f)
{
    setFlag(ExecFlags::BusyAskingBlockNum, f);
}

void Exec::setReceivedBlockNum(int blockNum)
{
    this->blockNum = blockNum;
    setFlag(ExecFlags::BusyAskingBlockNum, false);
}

void Exec::noticedPrompterStat(int count)
{
    prompterCount = count;
}

void Exec::noticedPromptOk(PromptType pType)
{
    switch (pType) {
    case PromptICGases:
        setFlag(ExecFlags::ICGasesChanging, false);
        break;
    case PromptHOCM:
        setFlag(ExecFlags::HOCMChanging, false);
        break;
    case PromptMono:
        setFlag(ExecFlags::MonoChanging, false);
        break;
    case PromptNone:
        break;
    }
}

void Exec::noticedRefusal(QString cmd)
{
    using F = ExecFlags;
    // The commands whose end the engine waits for: refused, it never comes.
    static const struct
    {
        const char *word;
        F::Flag flag;
    } waits[] = {{TargetWords::SetCurrentEnergy, F::MainThMoving},
                 {TargetWords::MoveSHolderTo, F::SHolderMoving},
                 {TargetWords::GetBlockNum, F::BusyAskingBlockNum},
                 {TargetWords::Start, F::InXAFSMeas}};
    if (!running || lost)
        return;
    for (const auto &w : waits) {
        if (cmd == QLatin1String(w.word) && flag(w.flag)) {
            setFlag(w.flag, false);
            emit log(
                tr("Entry %1: the target refused %2; the entry fails.").arg(current + 1).arg(cmd),
                Severity::Error);
            failEntry(tr("the target refused %1").arg(cmd));
            return;
        }
    }
}
