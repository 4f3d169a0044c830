// The per-entry command sequence: stages 0 to 9 of the engine's tick, and the
// operator prompts raised by stage 0. Every stage works on values read from
// the entries in the GUI thread at the start of the tick (EntryValues).
#include "Exec.h"

#include "ExecCtrl.h"
#include "NumberFormat.h"
#include "OptionTables.h"

namespace {

const QColor kRed(255, 0, 0);

// "Mode %1(%2[eV]-%3[eV])" parts of a mode-range row; "?" where the table
// has no row at that position (a default index outside the table).
QString lowText(const ModeRangeTable &t, int i)
{
    const ModeRange *r = t.rowAt(i);
    return r ? formatG(r->low) : QStringLiteral("?");
}

QString highText(const ModeRangeTable &t, int i)
{
    const ModeRange *r = t.rowAt(i);
    return r ? formatG(r->high) : QStringLiteral("?");
}

} // namespace

// Stage 0, "Initialize": compare the entry with its list neighbour above (or
// with itself for entry 0) and ask the operator for what must change by hand.
bool Exec::stageInitialize(const EntryValues &cur, const EntryValues &prev)
{
    if (current == 0 || cur.z != prev.z || cur.edgeIndex != prev.edgeIndex)
        changeSetupICGases(cur.element, prev.element, cur.edgeIndex, prev.edgeIndex);
    {
        const int n = hocModeTable().indexForEnergy(cur.edgeEnergy);
        const int o = hocModeTable().indexForEnergy(prev.edgeEnergy);
        if (current == 0 || n != o)
            changeSetupHOCMMode(n, o);
    }
    {
        const int n = monoModeTable().indexForEnergy(cur.edgeEnergy);
        const int o = monoModeTable().indexForEnergy(prev.edgeEnergy);
        if (current == 0 || n != o)
            changeSetupMonoMode(n, o);
    }
    stageNo = 1;
    return true;
}

// Stage 1, "Selecting Edge".
bool Exec::stageSelectEdge(const EntryValues &cur)
{
    send(QStringLiteral("SelectAtom %1").arg(cur.z));
    send(QStringLiteral("SelectEdge %1").arg(cur.edgeIndex));
    stageNo = 2;
    return false;
}

// Stage 2, "Move Mono. and S. Holder". The monochromator is driven to the
// start energy of the entry's first block. That energy is the row's position
// in eV, whatever unit the row is shown in: the target expects keV, and a row
// shown in keV, A or degrees must not send its display value.
bool Exec::stageMove(const EntryValues &cur, const EntryValues &prev)
{
    emit log(
        tr("ExecP = %1, new Start = %2, old Start = %3")
            .arg(QString::number(current), formatG(cur.startEnergy), formatG(prev.startEnergy)),
        kRed);
    if (current == 0 || cur.startEnergy != prev.startEnergy) {
        setFlag(ExecCtrl::MainThMoving, true);
        send(QStringLiteral("SetCurrentEnergy %1").arg(formatG(cur.startEnergy / 1000)));
    }
    emit log(tr("ExecP = %1, new Holder = %2, old Holder = %3")
                 .arg(QString::number(current), cur.holder, prev.holder),
             kRed);
    if (current != 0 && cur.holder == prev.holder) {
        stageNo = 3;
        return false;
    }
    setFlag(ExecCtrl::SHolderMoving, true);
    send(QStringLiteral("MoveSHolderTo %1").arg(cur.holder));
    stageNo = 3;
    return false;
}

// Stage 3, "Selecting Quick/Step Mode".
bool Exec::stageScanMode(const EntryValues &cur)
{
    send(QStringLiteral("SetXafsMode %1").arg(cur.scanType == 0 ? 1 : 0));
    send(QStringLiteral("SelectXafsMeasMode %1").arg(measModeCodeFor(cur.scanType, cur.measMode)));
    stageNo = 4;
    return true;
}

// Stage 4, "Setting File-Name / Comments".
bool Exec::stageFileName(const EntryValues &cur)
{
    send(QStringLiteral("SetXafsFileName %1").arg(cur.dataFile));
    send(QStringLiteral("SetXafsMeasComment %1").arg(cur.comment));
    stageNo = 5;
    return true;
}

// Stage 5, "Setting Block Params": standard blocks ask the target for its
// block count; file and user blocks are sent one by one.
bool Exec::stageBlocks(const EntryValues &cur)
{
    switch (cur.blockDefType) {
    case 0: {
        const int type = cur.stdBlockType == 1 ? 3 : cur.stdBlockType == 2 ? 2 : 0;
        send(QStringLiteral("SelectXafsMeasType %1").arg(type));
        setFlag(ExecCtrl::BusyAskingBlockNum, true);
        send(QStringLiteral("GetBlockNum"));
        stageNo = 6;
        return false;
    }
    case 1:
    case 2:
        break;
    default:
        // Repeating this stage would hold the run at this entry for ever
        // without a word; name the entry and end the run as failed instead.
        emit log(tr("Entry %1: unknown block definition type %2; the run stops.")
                     .arg(current + 1)
                     .arg(cur.blockDefType),
                 kRed);
        stop(false);
        return false;
    }

    EntryValues loaded;
    if (cur.blockDefType == 1 && !readLoadedEntry(&loaded))
        return false; // the worker is being stopped
    const EntryValues &e = cur.blockDefType == 1 ? loaded : cur;

    send(QStringLiteral("SetBlockUnit %1").arg(e.blockUnit));
    send(QStringLiteral("SetBlockNum %1").arg(e.blocks));
    for (int i = 0; i < e.blocks && i + 1 < e.displayValues.size() && i < e.points.size(); ++i) {
        send(QStringLiteral("SetBlock %1 %2 %3 %4 %5 %6")
                 .arg(QString::number(i), formatG(e.displayValues.at(i)),
                      formatG(e.displayValues.at(i + 1)), QStringLiteral("0"),
                      formatG(e.timeFor(i)), formatG(e.points.at(i))));
    }
    send(QStringLiteral("SetXafsFileName %1").arg(e.dataFile));
    stageNo = 7;
    return false;
}

// Stage 6, "Setting Meas. Time": one dwell time per block the target reported.
bool Exec::stageMeasTime(const EntryValues &cur)
{
    for (int i = 0; i < blockNum; ++i)
        send(QStringLiteral("SetMeasTime %1 %2").arg(QString::number(i), formatG(cur.timeFor(i))));
    stageNo = 7;
    return false;
}

// Stage 7, "Measuring Dark". The engine does not wait for the dark measurement.
bool Exec::stageDark(const EntryValues &cur)
{
    if (cur.measDark == 1) {
        send(QStringLiteral("SetMeasDarkTime %1").arg(10));
        send(QStringLiteral("MeasDark"));
        send(QStringLiteral("SetMeasDarkMode %1").arg(1));
    } else if (cur.measDark == 2) {
        send(QStringLiteral("SetMeasDarkMode %1").arg(1));
    }
    stageNo = 8;
    return false;
}

// Stage 8, "In Meas.": the target's end-of-measurement event releases the
// engine.
bool Exec::stageStart()
{
    send(QStringLiteral("Start"));
    setFlag(ExecCtrl::InXAFSMeas, true);
    stageNo = 9;
    return false;
}

// Stage 9, "One Meas. End".
void Exec::stageEnd()
{
    ++current;
    emit execNext();
}

void Exec::changeSetupICGases(aAtom na, aAtom oa, int nCore, int oCore)
{
    setFlag(ExecCtrl::ICGasesChanging, true);
    const XrayDataBase &db = xrayDataBase();
    const QString text = tr("ICGases Changing.\nThe Target Edge is changing (from %1-%2 to "
                            "%3-%4).\nDo any action for that.\nThen Click Ok.")
                             .arg(oa.symbol, db.edgeName(oCore), na.symbol, db.edgeName(nCore));
    emit newPrompt(text, PromptICGases);
}

void Exec::changeSetupHOCMMode(int nMode, int oMode)
{
    setFlag(ExecCtrl::HOCMChanging, true);
    const ModeRangeTable &t = hocModeTable();
    const QString text =
        tr("Higher Order Cut Mirror Mode Should Change\nfrom Mode %1(%2[eV]-%3[eV]) to Mode "
           "%4(%5[eV]-%6[eV]).\nDo any action for that.\nThen Click Ok.")
            .arg(QString::number(oMode), lowText(t, oMode), highText(t, oMode),
                 QString::number(nMode), lowText(t, nMode), highText(t, nMode));
    emit newPrompt(text, PromptHOCM);
}

void Exec::changeSetupMonoMode(int nMode, int oMode)
{
    setFlag(ExecCtrl::MonoChanging, true);
    const ModeRangeTable &t = monoModeTable();
    const QString text = tr("Monochromator Mode Should Change\nfrom Mode %1(%2[eV]-%3[eV]) to Mode "
                            "%4(%5[eV]-%6[eV]).\nDo any action for that.\nThen Click Ok.")
                             .arg(QString::number(oMode), lowText(t, oMode), highText(t, oMode),
                                  QString::number(nMode), lowText(t, nMode), highText(t, nMode));
    emit newPrompt(text, PromptMono);
}
