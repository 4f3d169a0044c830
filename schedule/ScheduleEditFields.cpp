// SPDX-License-Identifier: GPL-3.0-or-later
// The entry editor's field handlers: each choice the operator makes in the
// form becomes one of the entry's own editing operations, and the form shows
// the result.
#include "ScheduleEdit.h"

#include "OneBlocks.h"
#include "ui_ScheduleEdit.h"

void ScheduleEdit::newTargetSelected()
{
    if (m_showing)
        return;
    m_entry.updateTarget();
    changed();
}

void ScheduleEdit::newMonoCrystalSelected(int idx)
{
    if (m_showing || idx < 0)
        return;
    m_entry.unknownChoices.remove(EntryColumns::Crystal);
    m_entry.selectCrystal(idx - 1);
    changed();
}

void ScheduleEdit::newScanTypeSelected(int idx)
{
    if (m_showing || idx < 0)
        return;
    m_entry.unknownChoices.remove(EntryColumns::ScanType);
    m_entry.selectScanType(idx);
    changed();
}

void ScheduleEdit::newMeasModeSelected(int idx)
{
    if (m_showing || idx < 0)
        return;
    m_entry.unknownChoices.remove(EntryColumns::MeasMode);
    m_entry.measMode = idx;
    noteEdit();
}

void ScheduleEdit::newRequestedBlocks(int val)
{
    if (m_showing)
        return;
    m_entry.requestBlocks(val);
    changed();
}

void ScheduleEdit::newBlockDefTypeSelected(int idx)
{
    if (m_showing || idx < 0)
        return;
    m_entry.unknownChoices.remove(EntryColumns::BlockDef);
    m_entry.selectBlockDefType(idx);
    changed();
}

void ScheduleEdit::newStdBlockTypeSelected(int idx)
{
    if (m_showing || idx < 0)
        return;
    m_entry.unknownChoices.remove(EntryColumns::StdType);
    m_entry.selectStdBlockType(idx);
    changed();
}

void ScheduleEdit::newBlockUnitSelected(int idx)
{
    if (m_showing || idx < 0)
        return;
    m_entry.unknownChoices.remove(EntryColumns::BlockUnit);
    m_entry.selectBlockUnit(idx);
    changed();
}

void ScheduleEdit::toRel()
{
    m_entry.setRelative(true);
    changed();
}

void ScheduleEdit::toAbs()
{
    m_entry.setRelative(false);
    changed();
}
