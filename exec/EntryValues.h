// What one stage of the engine needs to know about a schedule entry, as a
// plain value. Entries are widgets of the GUI thread; the engine never touches
// them from its own thread. Instead it has readEntryValues() run in the GUI
// thread on its behalf (Exec::inGuiThread) and works on the copy.
#pragma once

#include "XrayDataBase.h"

#include <QList>
#include <QString>
#include <QVector>

class ScheduleEdit;

struct EntryValues
{
    bool exec = false;      // the entry's Exec box
    aAtom element;          // element named by TargetElm (empty when unknown)
    int z = 0;              // zFor(TargetElm): 0 or -1 when unknown
    int edgeIndex = 0;      // targetEdgeIndex()
    double edgeEnergy = 0;  // targetEdgeEnergy(), eV
    QString holder;         // HolderNo
    QString dataFile;       // DataFile
    QString comment;        // Comment
    QString blockDefFile;   // BlockDefFile
    QString measTimes;      // MeasTimes
    int scanType = 0;       // ScanType row
    int measMode = 0;       // MeasMode row
    int blockDefType = 0;   // BlockDefType row
    int stdBlockType = 0;   // StdBlockType row
    int blockUnit = 0;      // BlockUnit row
    int blocks = 0;         // Blocks value
    int measDark = 0;       // MeasDark row
    double startEnergy = 0; // row 0 of the active block set, eV
    // Rows 0 .. blocks of the active block set: the start in the row's own
    // display unit (fromEV) ...
    QVector<double> displayValues;
    // ... and rows 0 .. blocks - 1: the Points text as an integer (0 when it is
    // not one).
    QVector<int> points;

    // Dwell time of block i from measTimes (measTimeFor rule).
    double timeFor(int i) const;
};

// Reads everything above from an entry. GUI thread only. With loadBlockFile
// the entry first loads its block-definition file (BlockDefFile text), so that
// the values read are those of the loaded blocks.
EntryValues readEntryValues(ScheduleEdit *entry, bool loadBlockFile = false);

// Index of the first entry at or after from whose Exec box is ticked, or
// entries.size() when there is none. GUI thread only.
int firstTickedEntry(const QList<ScheduleEdit *> &entries, int from);

// Registers QVector<ScheduleEdit*> / QList<ScheduleEdit*> under both names,
// for connections made by signature text.
void registerEntryListMetaType();
