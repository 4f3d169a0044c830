// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExecPlan.h"

#include "BlockFile.h"
#include "EntryText.h"
#include "OptionTables.h"
#include "TargetWords.h"
#include "XrayDataBase.h"

#include <QCoreApplication>

#include <iterator>

// Every line for the target is built from its words.
using namespace TargetWords;

namespace {

// Texts of the Exec context in the catalogue, wherever they are made.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Exec)
};

// "Mode %1(%2[eV]-%3[eV])" parts of a mode-range row; "?" where the table
// has no row at that position (a default index outside the table).
QString lowText(const ModeRangeTable &t, int i)
{
    const ModeRange *r = t.rowAt(i);
    return r ? EntryText::g6(r->low) : QStringLiteral("?");
}

QString highText(const ModeRangeTable &t, int i)
{
    const ModeRange *r = t.rowAt(i);
    return r ? EntryText::g6(r->high) : QStringLiteral("?");
}

// The dwell times the entry lists; past them the last one is used again.
int dwellCount(const Entry &e)
{
    QString t = e.measTimes;
    t.replace(QLatin1Char(','), QLatin1Char(' '));
    return int(t.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts).size());
}

// A block measured with a dwell time the operator never typed is said so,
// once per entry, in the log of the night.
void notePaddedDwell(const StageInput &in, const Entry &e, int blocks, StageResult &r)
{
    const int times = dwellCount(e);
    if (blocks > times)
        r.logs << Tr::tr("Entry %1: %2 blocks are measured but %3 dwell times are given; the "
                         "last time (%4 s) is used for the others.")
                      .arg(in.current + 1)
                      .arg(blocks)
                      .arg(times)
                      .arg(EntryText::g6(e.timeFor(blocks - 1)));
}

// Stage 0: compare the entry with the one the run measured last and ask the
// operator for what must change by hand; with none, ask for everything.
void initialize(const StageInput &in, StageResult &r)
{
    const bool first = !in.prev;
    const Entry &cur = in.cur;
    const Entry &prev = first ? in.cur : *in.prev;
    if (first || cur.z() != prev.z() || cur.edgeIndex() != prev.edgeIndex()) {
        r.hold << ExecFlags::ICGasesChanging;
        r.prompts << PlanPrompt{
            icGasesPrompt(cur.element(), prev.element(), cur.edgeIndex(), prev.edgeIndex()),
            PromptICGases};
    }
    {
        const int n = hocModeTable().indexForEnergy(cur.edgeEnergy());
        const int o = hocModeTable().indexForEnergy(prev.edgeEnergy());
        if (first || n != o) {
            r.hold << ExecFlags::HOCMChanging;
            r.prompts << PlanPrompt{hocmPrompt(n, o), PromptHOCM};
        }
    }
    {
        const int n = monoModeTable().indexForEnergy(cur.edgeEnergy());
        const int o = monoModeTable().indexForEnergy(prev.edgeEnergy());
        if (first || n != o) {
            r.hold << ExecFlags::MonoChanging;
            r.prompts << PlanPrompt{monoPrompt(n, o), PromptMono};
        }
    }
    r.next = Stage::SelectEdge;
    // The entry's commands wait for its prompts: what the operator edits
    // while they are open is what is sent.
    r.fallThrough = r.prompts.isEmpty();
}

// Stage 2: the monochromator goes to the start energy of the entry's first
// block, and the sample changer to the entry's holder. The energy is the
// row's position in eV whatever unit the row is shown in: the target expects
// keV, and a row shown in keV, A or degrees must not send its display value.
void move(const StageInput &in, StageResult &r)
{
    const bool first = !in.prev;
    const Entry &prev = first ? in.cur : *in.prev;
    const double curStart = in.cur.startEnergy();
    const double prevStart = prev.startEnergy();
    r.logs << Tr::tr("ExecP = %1, new Start = %2, old Start = %3")
                  .arg(QString::number(in.current), EntryText::g6(curStart),
                       EntryText::g6(prevStart));
    if (first || curStart != prevStart) {
        r.hold << ExecFlags::MainThMoving;
        r.lines << line(SetCurrentEnergy, EntryText::g6(curStart / 1000));
    }
    r.logs << Tr::tr("ExecP = %1, new Holder = %2, old Holder = %3")
                  .arg(QString::number(in.current), in.cur.holder, prev.holder);
    if (first || in.cur.holder != prev.holder) {
        r.hold << ExecFlags::SHolderMoving;
        r.lines << line(MoveSHolderTo, in.cur.holder);
    }
    r.next = Stage::ScanMode;
}

// Stage 5: standard blocks ask the target for its block count; file and user
// blocks are sent one by one.
void blocks(const StageInput &in, StageResult &r)
{
    const Entry &cur = in.cur;
    switch (cur.blockDefType) {
    case EntryRows::StandardBlocks: {
        const int type = cur.stdBlockType == 1 ? 3 : cur.stdBlockType == 2 ? 2 : 0;
        r.lines << line(SelectXafsMeasType, type);
        r.hold << ExecFlags::BusyAskingBlockNum;
        r.lines << line(GetBlockNum);
        r.next = Stage::MeasTime;
        return;
    }
    case EntryRows::FileBlocks:
    case EntryRows::UserBlocks:
        break;
    default:
        // Repeating this stage would hold the run at this entry for ever
        // without a word; name the entry and end the run as failed instead.
        r.error = Tr::tr("Entry %1: unknown block definition type %2; the entry fails.")
                      .arg(in.current + 1)
                      .arg(cur.blockDefType);
        r.next = Stage::Blocks;
        return;
    }

    // A block file replaces the blocks' starts and Points; the count, the
    // dwell times and the unit stay the entry's own. A file that cannot be
    // read fails the entry: measuring the entry's own blocks instead would
    // spend the night on blocks nobody asked for.
    Entry loaded = cur;
    if (cur.blockDefType == EntryRows::FileBlocks) {
        const BlockFile::Result read = BlockFile::load(cur.blockDefFile, loaded);
        if (!read.ok) {
            r.error = Tr::tr("Entry %1: %2; the entry fails.").arg(in.current + 1).arg(read.error);
            r.next = Stage::Blocks;
            return;
        }
    }
    const Entry &e = loaded;
    const BlockSet &set = e.activeBlocks();

    r.lines << line(SetBlockUnit, e.blockUnit);
    r.lines << line(SetBlockNum, e.blocks);
    for (int i = 0; i < e.blocks && i + 1 < set.rowCount(); ++i) {
        r.lines << line(SetBlock, i, EntryText::g6(set.displayValue(i)),
                        EntryText::g6(set.displayValue(i + 1)), 0, EntryText::g6(e.timeFor(i)),
                        EntryText::g6(set.row(i).points()));
    }
    notePaddedDwell(in, e, qMin(e.blocks, set.rowCount() - 1), r);
    r.lines << line(SetXafsFileName, e.dataFile);
    if (cur.blockDefType == EntryRows::FileBlocks)
        r.measured = e;
    r.next = Stage::Dark;
}

} // namespace

StageResult runStage(int stage, const StageInput &in)
{
    StageResult r;
    const Entry &cur = in.cur;
    switch (stage) {
    case Stage::Initialize:
        initialize(in, r);
        break;
    case Stage::SelectEdge:
        r.lines << line(SelectAtom, cur.z());
        r.lines << line(SelectEdge, cur.edgeIndex());
        r.next = Stage::Move;
        break;
    case Stage::Move:
        move(in, r);
        break;
    case Stage::ScanMode:
        r.lines << line(SetXafsMode, cur.scanType == EntryRows::QuickScan ? 1 : 0);
        r.lines << line(SelectXafsMeasMode, measModeCodeFor(cur.scanType, cur.measMode));
        r.next = Stage::FileName;
        r.fallThrough = true;
        break;
    case Stage::FileName:
        r.lines << line(SetXafsFileName, cur.dataFile);
        r.lines << line(SetXafsMeasComment, cur.comment);
        r.next = Stage::Blocks;
        r.fallThrough = true;
        break;
    case Stage::Blocks:
        blocks(in, r);
        break;
    case Stage::MeasTime:
        if (in.blockNum < 0) {
            // What it answered is in the log, quoted, as it came.
            r.error = Tr::tr("Entry %1: the target's block count is not a number. The entry "
                             "fails.")
                          .arg(in.current + 1);
            r.next = Stage::MeasTime;
            break;
        }
        if (in.blockNum > kMaxBlockNum) {
            r.error = Tr::tr("Entry %1: the target reports %2 blocks; only 0 to %3 are accepted. "
                             "The entry fails.")
                          .arg(in.current + 1)
                          .arg(in.blockNum)
                          .arg(kMaxBlockNum);
            r.next = Stage::MeasTime;
            break;
        }
        notePaddedDwell(in, cur, in.blockNum, r);
        for (int i = 0; i < in.blockNum; ++i)
            r.lines << line(SetMeasTime, i, EntryText::g6(cur.timeFor(i)));
        r.next = Stage::Dark;
        break;
    case Stage::Dark:
        // The engine does not wait for the dark measurement.
        if (cur.measDark == 1) {
            r.lines << line(SetMeasDarkTime, 10);
            r.lines << line(MeasDark);
            r.lines << line(SetMeasDarkMode, 1);
        } else if (cur.measDark == 2) {
            r.lines << line(SetMeasDarkMode, 1);
        }
        r.next = Stage::Start;
        break;
    case Stage::Start:
        // The target's end-of-measurement event releases the engine.
        r.lines << line(Start);
        r.hold << ExecFlags::InXAFSMeas;
        r.next = Stage::End;
        break;
    default:
        r.next = stage;
        break;
    }
    return r;
}

StageResult planEntry(const StageInput &in)
{
    StageResult all;
    int stage = Stage::Initialize;
    while (stage != Stage::End) {
        const StageResult r = runStage(stage, in);
        all.lines << r.lines;
        all.prompts << r.prompts;
        all.logs << r.logs;
        all.hold << r.hold;
        if (r.measured)
            all.measured = r.measured;
        if (!r.error.isEmpty() || r.next == stage) {
            all.error = r.error;
            all.next = stage;
            return all;
        }
        stage = r.next;
    }
    all.next = Stage::End;
    return all;
}

QString stageName(int stage)
{
    switch (stage) {
    case Stage::Initialize:
        return Tr::tr("Initialize");
    case Stage::SelectEdge:
        return Tr::tr("Selecting Edge");
    case Stage::Move:
        return Tr::tr("Move Mono. and S. Holder");
    case Stage::ScanMode:
        return Tr::tr("Selecting Quick/Step Mode");
    case Stage::FileName:
        return Tr::tr("Setting File-Name / Comments");
    case Stage::Blocks:
        return Tr::tr("Setting Block Params");
    case Stage::MeasTime:
        return Tr::tr("Setting Meas. Time");
    case Stage::Dark:
        return Tr::tr("Measuring Dark");
    case Stage::Start:
        return Tr::tr("In Meas.");
    case Stage::End:
        return Tr::tr("One Meas. End");
    case Stage::WaitingForTarget:
        return Tr::tr("Waiting for the target");
    case Stage::TargetLost:
        return Tr::tr("Target lost");
    case Stage::TargetMeasuring:
        return Tr::tr("Target still measuring");
    default:
        return Tr::tr("Not In Exec");
    }
}

QString stageWord(int stage)
{
    static const char *const words[] = {
        "initialize", "select-edge",        "move",        "scan-mode",       "file-name",
        "blocks",     "meas-time",          "dark",        "measuring",       "end",
        "idle",       "waiting-for-target", "target-lost", "target-measuring"};
    if (stage < 0 || stage >= int(std::size(words)))
        stage = Stage::NotInExec;
    return QString::fromLatin1(words[stage]);
}

QString icGasesPrompt(const aAtom &na, const aAtom &oa, int nCore, int oCore)
{
    const XrayDataBase &db = xrayDataBase();
    return Tr::tr("ICGases Changing.\nThe Target Edge is changing (from %1-%2 to "
                  "%3-%4).\nDo any action for that.\nThen Click Ok.")
        .arg(oa.symbol, db.edgeName(oCore), na.symbol, db.edgeName(nCore));
}

// The two mode-change prompts name the old and the new mode with their
// energy ranges.
static QString withModes(const QString &text, const ModeRangeTable &t, int nMode, int oMode)
{
    return text.arg(QString::number(oMode), lowText(t, oMode), highText(t, oMode),
                    QString::number(nMode), lowText(t, nMode), highText(t, nMode));
}

QString hocmPrompt(int nMode, int oMode)
{
    return withModes(
        Tr::tr("Higher Order Cut Mirror Mode Should Change\nfrom Mode %1(%2[eV]-%3[eV]) to Mode "
               "%4(%5[eV]-%6[eV]).\nDo any action for that.\nThen Click Ok."),
        hocModeTable(), nMode, oMode);
}

QString monoPrompt(int nMode, int oMode)
{
    return withModes(Tr::tr("Monochromator Mode Should Change\nfrom Mode %1(%2[eV]-%3[eV]) to Mode "
                            "%4(%5[eV]-%6[eV]).\nDo any action for that.\nThen Click Ok."),
                     monoModeTable(), nMode, oMode);
}
