#include "EntryValues.h"

#include "OneBlock.h"
#include "OneBlocks.h"
#include "ScheduleEdit.h"

#include <QMetaType>

double EntryValues::timeFor(int i) const
{
    return ScheduleEdit::measTimeFor(measTimes, i);
}

EntryValues readEntryValues(ScheduleEdit *entry, bool loadBlockFile)
{
    EntryValues v;
    if (!entry)
        return v;
    const Ui::ScheduleEdit &ui = entry->ui;
    if (loadBlockFile)
        entry->loadBlockFile(ui.BlockDefFile->text());

    const XrayDataBase &db = xrayDataBase();
    const QString target = ui.TargetElm->text();
    v.exec = ui.Exec->isChecked();
    v.element = db.elementFor(target);
    v.z = db.zFor(target);
    v.edgeIndex = entry->targetEdgeIndex();
    v.edgeEnergy = entry->targetEdgeEnergy();
    v.holder = ui.HolderNo->text();
    v.dataFile = ui.DataFile->text();
    v.comment = ui.Comment->text();
    v.blockDefFile = ui.BlockDefFile->text();
    v.measTimes = ui.MeasTimes->text();
    v.scanType = ui.ScanType->currentIndex();
    v.measMode = ui.MeasMode->currentIndex();
    v.blockDefType = ui.BlockDefType->currentIndex();
    v.stdBlockType = ui.StdBlockType->currentIndex();
    v.blockUnit = ui.BlockUnit->currentIndex();
    v.blocks = ui.Blocks->value();
    v.measDark = ui.MeasDark->currentIndex();

    const OneBlocks *set = entry->activeBlocks();
    if (const OneBlock *r0 = set ? set->row(0) : nullptr)
        v.startEnergy = r0->pos;
    // Rows 0 .. Blocks; a set always has them (Blocks is at most its
    // maximum), but a missing row ends the lists rather than being read.
    for (int i = 0; set && i <= v.blocks; ++i) {
        const OneBlock *r = set->row(i);
        if (!r)
            break;
        v.displayValues.append(r->displayValue());
        if (i < v.blocks)
            v.points.append(r->points());
    }
    return v;
}

int firstTickedEntry(const QList<ScheduleEdit *> &entries, int from)
{
    int i = qMax(from, 0);
    while (i < entries.size() && !(entries.at(i) && entries.at(i)->ui.Exec->isChecked()))
        ++i;
    return i;
}

void registerEntryListMetaType()
{
    qRegisterMetaType<QList<ScheduleEdit *>>("QList<ScheduleEdit*>");
    qRegisterMetaType<QVector<ScheduleEdit *>>("QVector<ScheduleEdit*>");
}
