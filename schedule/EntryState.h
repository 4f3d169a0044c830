// SPDX-License-Identifier: GPL-3.0-or-later
// What became of an entry in a run. The engine reports how each entry ended;
// the schedule model keeps it beside the entry for the overview, the entry's
// status label and the journal.
#pragma once

enum class EntryState { Pending, Running, Done, Failed, Skipped, Stopped };
