<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Body</name>
    <message>
        <source>Skedra</source>
        <translation>Skedra</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Stops the run. A scan already running on the target carries on to its end.</source>
        <translation>Stops the run. A scan already running on the target carries on to its end.</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Resume</source>
        <translation>Resume</translation>
    </message>
    <message>
        <source>This(here)</source>
        <translation>From Here</translation>
    </message>
    <message>
        <source>This(Begin)</source>
        <translation>From Entry Start</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>From Next Entry</translation>
    </message>
    <message>
        <source>Select Schedule (CSV)</source>
        <translation>Schedule (CSV)</translation>
    </message>
    <message>
        <source>Load</source>
        <translation>Load</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Clear on Load</source>
        <translation>Clear on Load</translation>
    </message>
    <message>
        <source>Check</source>
        <translation>Check</translation>
    </message>
    <message>
        <source>Edit Line</source>
        <translation>Edit Entry</translation>
    </message>
    <message>
        <source>New Top</source>
        <translation>New at Top</translation>
    </message>
    <message>
        <source>New Bottom</source>
        <translation>New at Bottom</translation>
    </message>
    <message>
        <source>Show Cut Buffer</source>
        <translation>Show Cut Buffer</translation>
    </message>
    <message>
        <source>Come Back at Bottom</source>
        <translation>Put Back at End of List</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Show Log</source>
        <translation>Show Log</translation>
    </message>
    <message>
        <source>Show Tolva Stat</source>
        <translation>Show Tolva Status</translation>
    </message>
    <message>
        <source>Show Tolva Log.</source>
        <translation>Show Tolva Log</translation>
    </message>
    <message>
        <source>Show Exec. Stat.</source>
        <translation>Show Run Status</translation>
    </message>
    <message>
        <source>Cannot read the schedule file %1: %2</source>
        <translation>Cannot read the schedule file %1: %2</translation>
    </message>
    <message>
        <source>Cannot write the schedule file %1: %2</source>
        <translation>Cannot write the schedule file %1: %2</translation>
    </message>
    <message>
        <source>Skedra / Cut Buffer</source>
        <translation>Skedra / Cut Buffer</translation>
    </message>
    <message>
        <source>Run journal</source>
        <translation>Run journal</translation>
    </message>
    <message>
        <source>A run is going. Stop it and close Skedra?</source>
        <translation>A run is going. Stop it and close Skedra?</translation>
    </message>
    <message>
        <source>The schedule has changed since it was last saved or loaded. Close Skedra without saving it?</source>
        <translation>The schedule has changed since it was last saved or loaded. Close Skedra without saving it?</translation>
    </message>
    <message>
        <source>Select Meas. Schedule</source>
        <translation>Select Measurement Schedule</translation>
    </message>
    <message>
        <source>csv (*.csv)</source>
        <translation>CSV (*.csv)</translation>
    </message>
    <message>
        <source>any (*, *.*)</source>
        <translation>All files (*, *.*)</translation>
    </message>
    <message>
        <source>Save Schedule</source>
        <translation>Save Schedule</translation>
    </message>
    <message>
        <source>%1; the schedule is left as it was.</source>
        <translation>%1; the schedule is left as it was.</translation>
    </message>
    <message>
        <source>Loading %1 cancelled; the schedule is left as it was.</source>
        <translation>Loading %1 cancelled; the schedule is left as it was.</translation>
    </message>
    <message>
        <source>Schedule file %1 loaded; entries: %2.</source>
        <translation>Schedule file %1 loaded; entries: %2.</translation>
    </message>
    <message>
        <source>%1; unsaved edits are not kept.</source>
        <translation>%1; unsaved edits are not kept.</translation>
    </message>
    <message>
        <source>Tolva: %1</source>
        <translation>Tolva: %1</translation>
    </message>
    <message>
        <source>Unsaved edits of an earlier session are kept in %1 (%2); load it to see them.</source>
        <translation>Unsaved edits of an earlier session are kept in %1 (%2); load it to see them.</translation>
    </message>
    <message>
        <source>Skedra ended with unsaved changes to the schedule; they were kept in %1 (%2).
Load them? No discards them.</source>
        <translation>Skedra ended with unsaved changes to the schedule; they were kept in %1 (%2).
Load them? No discards them.</translation>
    </message>
    <message>
        <source>Unsaved edits loaded from %1; entries: %2.</source>
        <translation>Unsaved edits loaded from %1; entries: %2.</translation>
    </message>
    <message>
        <source>The run is not started: entry %1 has errors: %2</source>
        <translation>The run is not started: entry %1 has errors: %2</translation>
    </message>
    <message>
        <source>The schedule has changed since it was last saved or loaded. Clear it?</source>
        <translation>The schedule has changed since it was last saved or loaded. Clear it?</translation>
    </message>
    <message>
        <source>Write the night report of the journal&apos;s last run (an HTML file beside the journal) and open it</source>
        <translation>Write the night report of the journal&apos;s last run (an HTML file beside the journal) and open it</translation>
    </message>
    <message>
        <source>Report</source>
        <translation>Report</translation>
    </message>
</context>
<context>
    <name>ConfigStore</name>
    <message>
        <source>a quote is opened and not closed: %1</source>
        <translation>a quote is opened and not closed: %1</translation>
    </message>
    <message>
        <source>a quote is closed and not opened: %1</source>
        <translation>a quote is closed and not opened: %1</translation>
    </message>
    <message>
        <source>Cannot read the configuration file %1; its settings are not used.</source>
        <translation>Cannot read the configuration file %1; its settings are not used.</translation>
    </message>
    <message>
        <source>INCLUDE %1 comes back to a file being read; skipped.</source>
        <translation>INCLUDE %1 comes back to a file being read; skipped.</translation>
    </message>
    <message>
        <source>INCLUDE %1 cannot be read; its settings are not used.</source>
        <translation>INCLUDE %1 cannot be read; its settings are not used.</translation>
    </message>
</context>
<context>
    <name>ConnectStat</name>
    <message>
        <source>Disconnected</source>
        <translation>Disconnected</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>Connecting</source>
        <translation>Connecting</translation>
    </message>
    <message>
        <source>Connected</source>
        <translation>Connected</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>Disconnect</translation>
    </message>
</context>
<context>
    <name>DryRun</name>
    <message>
        <source>%1 blocks</source>
        <translation>%1 blocks</translation>
    </message>
    <message>
        <source>Entry %1: %2, %3, %4, %5</source>
        <translation>Entry %1: %2, %3, %4, %5</translation>
    </message>
    <message>
        <source>Dry run of %1 ticked entries of %2.</source>
        <translation>Dry run of %1 ticked entries of %2.</translation>
    </message>
    <message>
        <source>When the target logs in:</source>
        <translation>When the target logs in:</translation>
    </message>
    <message>
        <source>Warning: %1</source>
        <translation>Warning: %1</translation>
    </message>
    <message>
        <source>Error: %1</source>
        <translation>Error: %1</translation>
    </message>
    <message>
        <source>The target&apos;s answer is taken to be %1 (DRYRUN_BLOCK_NUM).</source>
        <translation>The target&apos;s answer is taken to be %1 (DRYRUN_BLOCK_NUM).</translation>
    </message>
    <message>
        <source>The target&apos;s answer is taken to be %1, the blocks of the entry&apos;s standard set (DRYRUN_BLOCK_NUM not set).</source>
        <translation>The target&apos;s answer is taken to be %1, the blocks of the entry&apos;s standard set (DRYRUN_BLOCK_NUM not set).</translation>
    </message>
    <message>
        <source>Estimated duration: %1 (%2 prompts not counted).</source>
        <translation>Estimated duration: %1 (%2 prompts not counted).</translation>
    </message>
    <message>
        <source>Total: %1 (%2 prompts not counted); expected end if started now: %3.</source>
        <translation>Total: %1 (%2 prompts not counted); expected end if started now: %3.</translation>
    </message>
    <message>
        <source>%1 ticked entries have errors: Start refuses this schedule.</source>
        <translation>%1 ticked entries have errors: Start refuses this schedule.</translation>
    </message>
    <message>
        <source>Block %1: %2 to %3 eV (%4 to %5 from the edge), k %6 to %7 1/A, %8 points, step %9 eV, dwell %10 s.</source>
        <translation>Block %1: %2 to %3 eV (%4 to %5 from the edge), k %6 to %7 1/A, %8 points, step %9 eV, dwell %10 s.</translation>
    </message>
    <message>
        <source>Points: %1 in %2 blocks, %3 s of dwell time.</source>
        <translation>Points: %1 in %2 blocks, %3 s of dwell time.</translation>
    </message>
    <message>
        <source>Deadline (END_BY): %1.</source>
        <translation>Deadline (END_BY): %1.</translation>
    </message>
    <message>
        <source>Not begun: would end after %1 (END_BY).</source>
        <translation>Not begun: would end after %1 (END_BY).</translation>
    </message>
    <message>
        <source>Fits before the deadline: ends about %1.</source>
        <translation>Fits before the deadline: ends about %1.</translation>
    </message>
    <message>
        <source>%1 of %2 ticked entries fit before the deadline %3.</source>
        <translation>%1 of %2 ticked entries fit before the deadline %3.</translation>
    </message>
</context>
<context>
    <name>DryRunWindow</name>
    <message>
        <source>Skedra / Check</source>
        <translation>Skedra / Check</translation>
    </message>
    <message>
        <source>Save as Text...</source>
        <translation>Save as Text...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
    <message>
        <source>Save the Check listing</source>
        <translation>Save the Check listing</translation>
    </message>
    <message>
        <source>Text (*.txt)</source>
        <translation>Text (*.txt)</translation>
    </message>
</context>
<context>
    <name>EntrySelection</name>
    <message>
        <source>-entries names no entry.</source>
        <translation>-entries names no entry.</translation>
    </message>
    <message>
        <source>-entries: &quot;%1&quot; is neither an entry number nor a range such as 3-5.</source>
        <translation>-entries: &quot;%1&quot; is neither an entry number nor a range such as 3-5.</translation>
    </message>
    <message>
        <source>-entries: entry %1 does not exist; the schedule has %2.</source>
        <translation>-entries: entry %1 does not exist; the schedule has %2.</translation>
    </message>
</context>
<context>
    <name>Exec</name>
    <message>
        <source>Entry %1: %2 blocks are measured but %3 dwell times are given; the last time (%4 s) is used for the others.</source>
        <translation>Entry %1: %2 blocks are measured but %3 dwell times are given; the last time (%4 s) is used for the others.</translation>
    </message>
    <message>
        <source>ExecP = %1, new Start = %2, old Start = %3</source>
        <translation>Position %1: new start energy %2 eV, previous start energy %3 eV</translation>
    </message>
    <message>
        <source>ExecP = %1, new Holder = %2, old Holder = %3</source>
        <translation>Position %1: new holder %2, previous holder %3</translation>
    </message>
    <message>
        <source>Entry %1: unknown block definition type %2; the entry fails.</source>
        <translation>Entry %1: unknown block definition type %2; the entry fails.</translation>
    </message>
    <message>
        <source>Entry %1: %2; the entry fails.</source>
        <translation>Entry %1: %2; the entry fails.</translation>
    </message>
    <message>
        <source>Entry %1: the target&apos;s block count is not a number. The entry fails.</source>
        <translation>Entry %1: the target&apos;s block count is not a number. The entry fails.</translation>
    </message>
    <message>
        <source>Entry %1: the target reports %2 blocks; only 0 to %3 are accepted. The entry fails.</source>
        <translation>Entry %1: the target reports %2 blocks; only 0 to %3 are accepted. The entry fails.</translation>
    </message>
    <message>
        <source>Initialize</source>
        <translation>Initializing</translation>
    </message>
    <message>
        <source>Selecting Edge</source>
        <translation>Selecting Edge</translation>
    </message>
    <message>
        <source>Move Mono. and S. Holder</source>
        <translation>Moving Monochromator and Sample Holder</translation>
    </message>
    <message>
        <source>Selecting Quick/Step Mode</source>
        <translation>Selecting Quick/Step Mode</translation>
    </message>
    <message>
        <source>Setting File-Name / Comments</source>
        <translation>Setting File Name / Comment</translation>
    </message>
    <message>
        <source>Setting Block Params</source>
        <translation>Setting Block Parameters</translation>
    </message>
    <message>
        <source>Setting Meas. Time</source>
        <translation>Setting Measurement Time</translation>
    </message>
    <message>
        <source>Measuring Dark</source>
        <translation>Measuring Dark</translation>
    </message>
    <message>
        <source>In Meas.</source>
        <translation>Measuring</translation>
    </message>
    <message>
        <source>One Meas. End</source>
        <translation>Measurement Ended</translation>
    </message>
    <message>
        <source>Waiting for the target</source>
        <translation>Waiting for the target</translation>
    </message>
    <message>
        <source>Target lost</source>
        <translation>Target lost</translation>
    </message>
    <message>
        <source>Target still measuring</source>
        <translation>Target still measuring</translation>
    </message>
    <message>
        <source>Not In Exec</source>
        <translation>Not Running</translation>
    </message>
    <message>
        <source>ICGases Changing.
The Target Edge is changing (from %1-%2 to %3-%4).
Do any action for that.
Then Click Ok.</source>
        <translation>Ion-chamber gases to change.
The edge measured changes (from %1-%2 to %3-%4).
Do what is needed for that, then click OK.</translation>
    </message>
    <message>
        <source>Higher Order Cut Mirror Mode Should Change
from Mode %1(%2[eV]-%3[eV]) to Mode %4(%5[eV]-%6[eV]).
Do any action for that.
Then Click Ok.</source>
        <translation>The higher-order cut mirror mode should change
from mode %1 (%2 eV - %3 eV) to mode %4 (%5 eV - %6 eV).
Do what is needed for that, then click OK.</translation>
    </message>
    <message>
        <source>Monochromator Mode Should Change
from Mode %1(%2[eV]-%3[eV]) to Mode %4(%5[eV]-%6[eV]).
Do any action for that.
Then Click Ok.</source>
        <translation>The monochromator mode should change
from mode %1 (%2 eV - %3 eV) to mode %4 (%5 eV - %6 eV).
Do what is needed for that, then click OK.</translation>
    </message>
    <message>
        <source>the target to log in</source>
        <translation>the target to log in</translation>
    </message>
    <message>
        <source>the end of the energy move</source>
        <translation>the end of the energy move</translation>
    </message>
    <message>
        <source>the end of the sample-holder move</source>
        <translation>the end of the sample-holder move</translation>
    </message>
    <message>
        <source>the block count</source>
        <translation>the block count</translation>
    </message>
    <message>
        <source>the end of the measurement</source>
        <translation>the end of the measurement</translation>
    </message>
    <message>
        <source>Entry %1 failed: %2. The run goes on with the next entry.</source>
        <translation>Entry %1 failed: %2. The run goes on with the next entry.</translation>
    </message>
    <message>
        <source>Entry %1, stage &quot;%2&quot;: still waiting for %3 after %4 s.</source>
        <translation>Entry %1, stage &quot;%2&quot;: still waiting for %3 after %4 s.</translation>
    </message>
    <message>
        <source>The unattended run ends on this error.</source>
        <translation>The unattended run ends on this error.</translation>
    </message>
    <message>
        <source>still waiting for %1</source>
        <translation>still waiting for %1</translation>
    </message>
    <message>
        <source>Entry %1: the target&apos;s measurement goes on until it ends.</source>
        <translation>Entry %1: the target&apos;s measurement goes on until it ends.</translation>
    </message>
    <message>
        <source>Entry %1: the target has not reported the end of its measurement within its limit; Skedra no longer waits for it.</source>
        <translation>Entry %1: the target has not reported the end of its measurement within its limit; Skedra no longer waits for it.</translation>
    </message>
    <message>
        <source>begun %1 times, the target went away each time</source>
        <translation>begun %1 times, the target went away each time</translation>
    </message>
    <message>
        <source>Entry %1: the target is back; the entry begins again from its start (attempt %2 of %3).</source>
        <translation>Entry %1: the target is back; the entry begins again from its start (attempt %2 of %3).</translation>
    </message>
    <message>
        <source>Entry %1: the target was lost; the run holds. Resume or Start once it is back.</source>
        <translation>Entry %1: the target was lost; the run holds. Resume or Start once it is back.</translation>
    </message>
    <message>
        <source>the measurement did not start</source>
        <translation>the measurement did not start</translation>
    </message>
    <message>
        <source>the sample holder did not move</source>
        <translation>the sample holder did not move</translation>
    </message>
    <message>
        <source>Entry %1: the target refused %2; the entry fails.</source>
        <translation>Entry %1: the target refused %2; the entry fails.</translation>
    </message>
    <message>
        <source>the target refused %1</source>
        <translation>the target refused %1</translation>
    </message>
    <message>
        <source>would end after %1</source>
        <translation>would end after %1</translation>
    </message>
</context>
<context>
    <name>ExecCtrl</name>
    <message>
        <source>Frame</source>
        <translation>Run Status</translation>
    </message>
    <message>
        <source>Target is Ready</source>
        <translation>Target is Ready</translation>
    </message>
    <message>
        <source>In XAFS Meas</source>
        <translation>XAFS Measurement Running</translation>
    </message>
    <message>
        <source>Monochromator is Changing</source>
        <translation>Monochromator is Changing</translation>
    </message>
    <message>
        <source>IC Gases Changing</source>
        <translation>Ion-Chamber Gases Changing</translation>
    </message>
    <message>
        <source>Sample Holder is Moving</source>
        <translation>Sample Holder is Moving</translation>
    </message>
    <message>
        <source>Dark is in Meas</source>
        <translation>Measuring Dark</translation>
    </message>
    <message>
        <source>Busy Asking Block Num</source>
        <translation>Asking Block Count</translation>
    </message>
    <message>
        <source>Err Remote</source>
        <translation>Remote Error</translation>
    </message>
    <message>
        <source>Main Th is Moving</source>
        <translation>Monochromator θ is Moving</translation>
    </message>
    <message>
        <source>Err In Starting XAFS Meas</source>
        <translation>Error Starting XAFS Measurement</translation>
    </message>
    <message>
        <source>Higer Order Cut is Changing</source>
        <translation>Higher Order Cut is Changing</translation>
    </message>
    <message>
        <source>Err Sample Holder Move</source>
        <translation>Sample Holder Move Error</translation>
    </message>
    <message>
        <source>Err Starting XAFS Meas Msg will be here</source>
        <translation>The error starting the XAFS measurement is shown here</translation>
    </message>
    <message>
        <source>Err Remote Msg will be here.</source>
        <translation>The remote error is shown here.</translation>
    </message>
</context>
<context>
    <name>LayoutFrame</name>
    <message>
        <source>Frame</source>
        <translation>Frame</translation>
    </message>
</context>
<context>
    <name>ListEdits</name>
    <message>
        <source>row %1: no element in column %2 (%3 fields read)</source>
        <translation>row %1: no element in column %2 (%3 fields read)</translation>
    </message>
</context>
<context>
    <name>ListPane</name>
    <message>
        <source>New entry</source>
        <translation>New entry</translation>
    </message>
    <message>
        <source>Insert</source>
        <translation>Insert</translation>
    </message>
    <message>
        <source>Come back</source>
        <translation>Come back</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Cut</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>Copy rows</source>
        <translation>Copy rows</translation>
    </message>
    <message>
        <source>Paste rows</source>
        <translation>Paste rows</translation>
    </message>
    <message>
        <source>Cut rows</source>
        <translation>Cut rows</translation>
    </message>
    <message>
        <source>Fill down</source>
        <translation>Fill down</translation>
    </message>
    <message>
        <source>Duplicate</source>
        <translation>Duplicate</translation>
    </message>
    <message>
        <source>Repeat ×N…</source>
        <translation>Repeat ×N…</translation>
    </message>
    <message>
        <source>Repeat</source>
        <translation>Repeat</translation>
    </message>
    <message>
        <source>Copies of the selected entries, their data files numbered on:</source>
        <translation>Copies of the selected entries, their data files numbered on:</translation>
    </message>
    <message>
        <source>Move up</source>
        <translation>Move up</translation>
    </message>
    <message>
        <source>Move down</source>
        <translation>Move down</translation>
    </message>
    <message>
        <source>Tick</source>
        <translation>Tick</translation>
    </message>
    <message>
        <source>Untick</source>
        <translation>Untick</translation>
    </message>
    <message>
        <source>Tick what failed in the last run</source>
        <translation>Tick what failed in the last run</translation>
    </message>
    <message>
        <source>Set %1</source>
        <translation>Set %1</translation>
    </message>
    <message>
        <source>Repeat ×%1</source>
        <translation>Repeat ×%1</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>Move</translation>
    </message>
    <message>
        <source>Tick what failed</source>
        <translation>Tick what failed</translation>
    </message>
    <message>
        <source>Rows not pasted: %1</source>
        <translation>Rows not pasted: %1</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>Show Overview</source>
        <translation>Show Overview</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Edit</translation>
    </message>
</context>
<context>
    <name>LogArea</name>
    <message>
        <source>Log Area</source>
        <translation>Log</translation>
    </message>
    <message>
        <source>Write To</source>
        <translation>Write to File</translation>
    </message>
    <message>
        <source>Keep at End</source>
        <translation>Keep at End</translation>
    </message>
    <message>
        <source>Verbose</source>
        <translation>Verbose</translation>
    </message>
</context>
<context>
    <name>NightReport</name>
    <message>
        <source>Skedra: the run of %1</source>
        <translation>Skedra: the run of %1</translation>
    </message>
    <message>
        <source>From %1 to %2; the run ended: %3.</source>
        <translation>From %1 to %2; the run ended: %3.</translation>
    </message>
    <message>
        <source>no end recorded</source>
        <translation>no end recorded</translation>
    </message>
    <message>
        <source>Timeline</source>
        <translation>Timeline</translation>
    </message>
    <message>
        <source>Bars: done green, failed red, stopped grey, skipped light; the dashed outline is the estimate, yellow the wait for the operator, violet the target away.</source>
        <translation>Bars: done green, failed red, stopped grey, skipped light; the dashed outline is the estimate, yellow the wait for the operator, violet the target away.</translation>
    </message>
    <message>
        <source>Totals</source>
        <translation>Totals</translation>
    </message>
    <message>
        <source>Machine time</source>
        <translation>Machine time</translation>
    </message>
    <message>
        <source>Waiting for the operator</source>
        <translation>Waiting for the operator</translation>
    </message>
    <message>
        <source>Lost to faults</source>
        <translation>Lost to faults</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>Skipped</source>
        <translation>Skipped</translation>
    </message>
    <message>
        <source>Stopped</source>
        <translation>Stopped</translation>
    </message>
    <message>
        <source>Entries</source>
        <translation>Entries</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>Sample</source>
        <translation>Sample</translation>
    </message>
    <message>
        <source>File</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Element/Edge</source>
        <translation>Element/Edge</translation>
    </message>
    <message>
        <source>Scan</source>
        <translation>Scan</translation>
    </message>
    <message>
        <source>Estimate</source>
        <translation>Estimate</translation>
    </message>
    <message>
        <source>Actual</source>
        <translation>Actual</translation>
    </message>
    <message>
        <source>Outcome</source>
        <translation>Outcome</translation>
    </message>
    <message>
        <source>Detail</source>
        <translation>Detail</translation>
    </message>
    <message>
        <source>The journal %1 has no run of %2.</source>
        <translation>The journal %1 has no run of %2.</translation>
    </message>
    <message>
        <source>The journal %1 has no run.</source>
        <translation>The journal %1 has no run.</translation>
    </message>
    <message>
        <source>Cannot write the night report %1: %2</source>
        <translation>Cannot write the night report %1: %2</translation>
    </message>
    <message>
        <source>-report needs the journal: skedra -report JOURNAL [RUN]</source>
        <translation>-report needs the journal: skedra -report JOURNAL [RUN]</translation>
    </message>
</context>
<context>
    <name>Notifier</name>
    <message>
        <source>Notification program %1 failed: %2</source>
        <translation>Notification program %1 failed: %2</translation>
    </message>
    <message>
        <source>exit status %1</source>
        <translation>exit status %1</translation>
    </message>
</context>
<context>
    <name>OneBlock</name>
    <message>
        <source>One Block</source>
        <translation>Block</translation>
    </message>
    <message>
        <source>Start Pos.</source>
        <translation>Start Position</translation>
    </message>
    <message>
        <source>Absolute value, or relative to the absorption edge when it begins with R.
Relative values are written like &quot;R-100&quot;, &quot;R+100&quot;, &quot;R1000&quot;;
&quot;R+&quot; and &quot;R&quot; mean the same.</source>
        <translation>Absolute value, or relative to the absorption edge when it begins with R.
Relative values are written like &quot;R-100&quot;, &quot;R+100&quot;, &quot;R1000&quot;;
&quot;R+&quot; and &quot;R&quot; mean the same.</translation>
    </message>
    <message>
        <source>Points</source>
        <translation>Points</translation>
    </message>
    <message>
        <source>Points and Delta cannot be set independently:
Delta = ( End - Start ) / Steps
Steps = (End - Start) / Delta</source>
        <translation>Points and Delta cannot be set independently:
Delta = (End - Start) / Steps
Steps = (End - Start) / Delta</translation>
    </message>
    <message>
        <source>delta</source>
        <translation>Delta</translation>
    </message>
</context>
<context>
    <name>OneBlocks</name>
    <message>
        <source>Blocks</source>
        <translation>Blocks</translation>
    </message>
</context>
<context>
    <name>OptionTables</name>
    <message>
        <source>Crystal %1: the lattice spacing and the energy range must be numbers (read: [%2] [%3] [%4]); what does not read counts as 0.</source>
        <translation>Crystal %1: the lattice spacing and the energy range must be numbers (read: [%2] [%3] [%4]); what does not read counts as 0.</translation>
    </message>
    <message>
        <source>HOLDER_RANGE [%1] is not two whole numbers, the lowest position first; the key is ignored.</source>
        <translation>HOLDER_RANGE [%1] is not two whole numbers, the lowest position first; the key is ignored.</translation>
    </message>
</context>
<context>
    <name>PlanPlot</name>
    <message>
        <source> eV from the edge</source>
        <translation> eV from the edge</translation>
    </message>
    <message>
        <source> s</source>
        <translation> s</translation>
    </message>
    <message>
        <source>k (1/A):</source>
        <translation>k (1/A):</translation>
    </message>
</context>
<context>
    <name>PlanView</name>
    <message>
        <source>E from the edge (eV)</source>
        <translation>E from the edge (eV)</translation>
    </message>
    <message>
        <source>k (1/A)</source>
        <translation>k (1/A)</translation>
    </message>
    <message>
        <source>Points</source>
        <translation>Points</translation>
    </message>
    <message>
        <source>Step (eV)</source>
        <translation>Step (eV)</translation>
    </message>
    <message>
        <source>dk (1/A)</source>
        <translation>dk (1/A)</translation>
    </message>
    <message>
        <source>Dwell (s)</source>
        <translation>Dwell (s)</translation>
    </message>
    <message>
        <source>Time (s)</source>
        <translation>Time (s)</translation>
    </message>
    <message>
        <source>k region…</source>
        <translation>k region…</translation>
    </message>
    <message>
        <source>Write the EXAFS region as blocks from k start, k end and dk, with a dwell time growing with k.</source>
        <translation>Write the EXAFS region as blocks from k start, k end and dk, with a dwell time growing with k.</translation>
    </message>
    <message>
        <source>Total</source>
        <translation>Total</translation>
    </message>
    <message>
        <source>EXAFS region in k</source>
        <translation>EXAFS region in k</translation>
    </message>
    <message>
        <source>k start (1/A)</source>
        <translation>k start (1/A)</translation>
    </message>
    <message>
        <source>k end (1/A)</source>
        <translation>k end (1/A)</translation>
    </message>
    <message>
        <source>Dwell t0 (s)</source>
        <translation>Dwell t0 (s)</translation>
    </message>
    <message>
        <source>at k0 (1/A)</source>
        <translation>at k0 (1/A)</translation>
    </message>
    <message>
        <source>constant</source>
        <translation>constant</translation>
    </message>
    <message>
        <source>t0 (k/k0)</source>
        <translation>t0 (k/k0)</translation>
    </message>
    <message>
        <source>t0 (k/k0)^2</source>
        <translation>t0 (k/k0)^2</translation>
    </message>
    <message>
        <source>t0 (k/k0)^3</source>
        <translation>t0 (k/k0)^3</translation>
    </message>
    <message>
        <source>Dwell law</source>
        <translation>Dwell law</translation>
    </message>
    <message>
        <source>Blocks at most</source>
        <translation>Blocks at most</translation>
    </message>
    <message>
        <source>%1 blocks kept, %2 written; steps stray at most %3 % from dk; dwell time %4 s (the law&apos;s: %5 s).</source>
        <translation>%1 blocks kept, %2 written; steps stray at most %3 % from dk; dwell time %4 s (the law&apos;s: %5 s).</translation>
    </message>
</context>
<context>
    <name>Prompt</name>
    <message>
        <source>Prompt</source>
        <translation>Prompt</translation>
    </message>
    <message>
        <source>Prompt Msg.</source>
        <translation>Message</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>Prompter</name>
    <message>
        <source>Prompter</source>
        <translation>Operator Prompts</translation>
    </message>
</context>
<context>
    <name>RunBar</name>
    <message>
        <source>Stop after this entry</source>
        <translation>Stop after this entry</translation>
    </message>
    <message>
        <source>On error: stop</source>
        <translation>On error: stop</translation>
    </message>
    <message>
        <source>On error: skip</source>
        <translation>On error: skip</translation>
    </message>
    <message>
        <source>What the run does when an entry fails: end, or go on with the next entry.</source>
        <translation>What the run does when an entry fails: end, or go on with the next entry.</translation>
    </message>
    <message>
        <source>Bus: %1  Target %2: %3</source>
        <translation>Bus: %1  Target %2: %3</translation>
    </message>
    <message>
        <source>there</source>
        <translation>there</translation>
    </message>
    <message>
        <source>away</source>
        <translation>away</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>Disconnect</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>Waiting for the operator for %1: %2</source>
        <translation>Waiting for the operator for %1: %2</translation>
    </message>
    <message>
        <source>Elapsed %1  Entry left %2  End %3</source>
        <translation>Elapsed %1  Entry left %2  End %3</translation>
    </message>
    <message>
        <source>%1; the target is still measuring</source>
        <translation>%1; the target is still measuring</translation>
    </message>
    <message>
        <source>Start at</source>
        <translation>Start at</translation>
    </message>
    <message>
        <source>Start holds the run until this time of day (the next such time), with a countdown; Stop cancels it.</source>
        <translation>Start holds the run until this time of day (the next such time), with a countdown; Stop cancels it.</translation>
    </message>
    <message>
        <source>Finished</source>
        <translation>Finished</translation>
    </message>
    <message>
        <source>Finished by the deadline %1</source>
        <translation>Finished by the deadline %1</translation>
    </message>
    <message>
        <source>Stopped</source>
        <translation>Stopped</translation>
    </message>
    <message>
        <source>Ended on an error</source>
        <translation>Ended on an error</translation>
    </message>
    <message>
        <source>%1: %2 done, %3 failed, %4 skipped, %5 not measured; took %6 (estimated %7)</source>
        <translation>%1: %2 done, %3 failed, %4 skipped, %5 not measured; took %6 (estimated %7)</translation>
    </message>
    <message>
        <source>Starts at %1, in %2</source>
        <translation>Starts at %1, in %2</translation>
    </message>
    <message>
        <source>End by %1</source>
        <translation>End by %1</translation>
    </message>
</context>
<context>
    <name>RunController</name>
    <message>
        <source>WAIT_LIMIT %1 is not a number of seconds above 0; %2 s is used.</source>
        <translation>WAIT_LIMIT %1 is not a number of seconds above 0; %2 s is used.</translation>
    </message>
    <message>
        <source>ON_ENTRY_ERROR %1 is neither stop nor skip; stop is used.</source>
        <translation>ON_ENTRY_ERROR %1 is neither stop nor skip; stop is used.</translation>
    </message>
    <message>
        <source>ON_TARGET_RETURN %1 is neither resume nor hold; resume is used.</source>
        <translation>ON_TARGET_RETURN %1 is neither resume nor hold; resume is used.</translation>
    </message>
    <message>
        <source>PROMPT_NOTIFY_AFTER %1 is not a number of seconds above 0; %2 s is used.</source>
        <translation>PROMPT_NOTIFY_AFTER %1 is not a number of seconds above 0; %2 s is used.</translation>
    </message>
    <message>
        <source>A run is going: Start does nothing. Stop it first, or use Resume.</source>
        <translation>A run is going: Start does nothing. Stop it first, or use Resume.</translation>
    </message>
    <message>
        <source>Entry %1: %2</source>
        <translation>Entry %1: %2</translation>
    </message>
    <message>
        <source>The run is not started: correct the entries above first.</source>
        <translation>The run is not started: correct the entries above first.</translation>
    </message>
    <message>
        <source>The run begins with entry %1.</source>
        <translation>The run begins with entry %1.</translation>
    </message>
    <message>
        <source>Prompt: %1</source>
        <translation>Prompt: %1</translation>
    </message>
    <message>
        <source>Prompt confirmed: %1</source>
        <translation>Prompt confirmed: %1</translation>
    </message>
    <message>
        <source>A prompt has waited for the operator for %1; the run is held: %2</source>
        <translation>A prompt has waited for the operator for %1; the run is held: %2</translation>
    </message>
    <message>
        <source>waiting for the operator: %1</source>
        <translation>waiting for the operator: %1</translation>
    </message>
    <message>
        <source>The connection to the bus server was lost; the run waits for it and then for the target.</source>
        <translation>The connection to the bus server was lost; the run waits for it and then for the target.</translation>
    </message>
    <message>
        <source>the connection to the bus server was lost</source>
        <translation>the connection to the bus server was lost</translation>
    </message>
    <message>
        <source>%1 refused %2:%3</source>
        <translation>%1 refused %2:%3</translation>
    </message>
    <message>
        <source>%1 answered GetBlockNum with &quot;%2&quot;, which is no number of blocks.</source>
        <translation>%1 answered GetBlockNum with &quot;%2&quot;, which is no number of blocks.</translation>
    </message>
    <message>
        <source>Event from %1: %2%3</source>
        <translation>Event from %1: %2%3</translation>
    </message>
    <message>
        <source>Run ended on an error at entry %1.</source>
        <translation>Run ended on an error at entry %1.</translation>
    </message>
    <message>
        <source>Run stopped by the operator at entry %1.</source>
        <translation>Run stopped by the operator at entry %1.</translation>
    </message>
    <message>
        <source>Run ended without measuring entries %1.</source>
        <translation>Run ended without measuring entries %1.</translation>
    </message>
    <message>
        <source>Run finished at entry %1.</source>
        <translation>Run finished at entry %1.</translation>
    </message>
    <message>
        <source>Run finished.</source>
        <translation>Run finished.</translation>
    </message>
    <message>
        <source>Entry %1 failed: %2</source>
        <translation>Entry %1 failed: %2</translation>
    </message>
    <message>
        <source>No ticked entry is left to measure; the run ends.</source>
        <translation>No ticked entry is left to measure; the run ends.</translation>
    </message>
    <message>
        <source>The run goes on with entry %1.</source>
        <translation>The run goes on with entry %1.</translation>
    </message>
    <message>
        <source>the target was back after %1 s; attempt %2</source>
        <translation>the target was back after %1 s; attempt %2</translation>
    </message>
    <message>
        <source>The run ended on an error at entry %1.</source>
        <translation>The run ended on an error at entry %1.</translation>
    </message>
    <message>
        <source>The run ended without measuring entries %1.</source>
        <translation>The run ended without measuring entries %1.</translation>
    </message>
    <message>
        <source>Run finished: %1 entries done, %2 failed, in %3.</source>
        <translation>Run finished: %1 entries done, %2 failed, in %3.</translation>
    </message>
    <message>
        <source>%1; the run cannot be resumed after a crash.</source>
        <translation>%1; the run cannot be resumed after a crash.</translation>
    </message>
    <message>
        <source>The run of %1 cannot be resumed: %2</source>
        <translation>The run of %1 cannot be resumed: %2</translation>
    </message>
    <message>
        <source>The run of %1 had measured every entry; nothing is resumed.</source>
        <translation>The run of %1 had measured every entry; nothing is resumed.</translation>
    </message>
    <message>
        <source>Resuming the run of %1 from its copy %2: entries done and unticked: %3; the run goes on at entry %4.</source>
        <translation>Resuming the run of %1 from its copy %2: entries done and unticked: %3; the run goes on at entry %4.</translation>
    </message>
    <message>
        <source>none</source>
        <translation>none</translation>
    </message>
    <message>
        <source>Entry %1 was not done in that run and is unticked; tick it to measure it again.</source>
        <translation>Entry %1 was not done in that run and is unticked; tick it to measure it again.</translation>
    </message>
    <message>
        <source>The run started %1 did not end: Skedra or the computer stopped during it.
Its copy of the schedule: %2
Last entry done: %3
Entry that was running: %4

Resume the run?</source>
        <translation>The run started %1 did not end: Skedra or the computer stopped during it.
Its copy of the schedule: %2
Last entry done: %3
Entry that was running: %4

Resume the run?</translation>
    </message>
    <message>
        <source>Resume from entry %1 (measured again from its start)</source>
        <translation>Resume from entry %1 (measured again from its start)</translation>
    </message>
    <message>
        <source>Resume from entry %1</source>
        <translation>Resume from entry %1</translation>
    </message>
    <message>
        <source>Do not resume</source>
        <translation>Do not resume</translation>
    </message>
    <message>
        <source>The run of %1 is not resumed.</source>
        <translation>The run of %1 is not resumed.</translation>
    </message>
    <message>
        <source>The run of %1 did not end (its copy: %2); start with -resume-last to resume it.</source>
        <translation>The run of %1 did not end (its copy: %2); start with -resume-last to resume it.</translation>
    </message>
    <message>
        <source>A run is going. Move every entry, the running one included, to the cut buffer?</source>
        <translation>A run is going. Move every entry, the running one included, to the cut buffer?</translation>
    </message>
    <message>
        <source>Entry %1 is being run. Move it to the cut buffer?</source>
        <translation>Entry %1 is being run. Move it to the cut buffer?</translation>
    </message>
    <message>
        <source>Entries %1 were measured in this run. Move them to the cut buffer?</source>
        <translation>Entries %1 were measured in this run. Move them to the cut buffer?</translation>
    </message>
    <message>
        <source>%1 %2 is not a time of day (hh:mm); it is not used.</source>
        <translation>%1 %2 is not a time of day (hh:mm); it is not used.</translation>
    </message>
    <message>
        <source>The run is not started: -start-at %1 is not a time of day (hh:mm).</source>
        <translation>The run is not started: -start-at %1 is not a time of day (hh:mm).</translation>
    </message>
    <message>
        <source>The run is held until %1; Stop cancels the start.</source>
        <translation>The run is held until %1; Stop cancels the start.</translation>
    </message>
    <message>
        <source>The run starts at %1 (in %2); Stop cancels the start.</source>
        <translation>The run starts at %1 (in %2); Stop cancels the start.</translation>
    </message>
    <message>
        <source>The start at %1 is cancelled.</source>
        <translation>The start at %1 is cancelled.</translation>
    </message>
    <message>
        <source>Run finished by the deadline %1.</source>
        <translation>Run finished by the deadline %1.</translation>
    </message>
    <message>
        <source>Entry %1 (estimated %2) %3 (END_BY): entries %4 are not begun; the run ends.</source>
        <translation>Entry %1 (estimated %2) %3 (END_BY): entries %4 are not begun; the run ends.</translation>
    </message>
    <message>
        <source>The run ends by %1 (END_BY): no entry is begun that would end later.</source>
        <translation>The run ends by %1 (END_BY): no entry is begun that would end later.</translation>
    </message>
    <message>
        <source>Night report: %1</source>
        <translation>Night report: %1</translation>
    </message>
    <message>
        <source>Run finished by the deadline %1: %2 entries done, %3 failed, %4 not begun (they would end after it), in %5.</source>
        <translation>Run finished by the deadline %1: %2 entries done, %3 failed, %4 not begun (they would end after it), in %5.</translation>
    </message>
    <message>
        <source>MAX_ENTRY_ATTEMPTS %1 is not a whole number above 0; %2 is used.</source>
        <translation>MAX_ENTRY_ATTEMPTS %1 is not a whole number above 0; %2 is used.</translation>
    </message>
</context>
<context>
    <name>RunJournal</name>
    <message>
        <source>Cannot write the run journal %1: %2</source>
        <translation>Cannot write the run journal %1: %2</translation>
    </message>
    <message>
        <source>Run journal %1, line %2 is incomplete and was skipped.</source>
        <translation>Run journal %1, line %2 is incomplete and was skipped.</translation>
    </message>
</context>
<context>
    <name>ScanPlan</name>
    <message>
        <source>Blocks %1 and %2 both measure %3 eV: a point is measured twice where they meet.</source>
        <translation>Blocks %1 and %2 both measure %3 eV: a point is measured twice where they meet.</translation>
    </message>
    <message>
        <source>The step jumps from %1 eV in block %2 to %3 eV in block %4 (more than a factor 3).</source>
        <translation>The step jumps from %1 eV in block %2 to %3 eV in block %4 (more than a factor 3).</translation>
    </message>
    <message>
        <source>The region needs 0 &lt; k start &lt; k end, dk &gt; 0, t0 &gt; 0 and k0 &gt; 0.</source>
        <translation>The region needs 0 &lt; k start &lt; k end, dk &gt; 0, t0 &gt; 0 and k0 &gt; 0.</translation>
    </message>
    <message>
        <source>The region holds no step of dk.</source>
        <translation>The region holds no step of dk.</translation>
    </message>
    <message>
        <source>No block is left for the region: %1 blocks end below it.</source>
        <translation>No block is left for the region: %1 blocks end below it.</translation>
    </message>
</context>
<context>
    <name>ScheduleEdit</name>
    <message>
        <source>Schedule Editor</source>
        <translation>Schedule Editor</translation>
    </message>
    <message>
        <source>Exec</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>Either one is necessary.</source>
        <translation>Either one is necessary.</translation>
    </message>
    <message>
        <source>Holder No.</source>
        <translation>Holder No.</translation>
    </message>
    <message>
        <source>Req. (Eiter)</source>
        <translation>Required (either)</translation>
    </message>
    <message>
        <source>Sample ID</source>
        <translation>Sample ID</translation>
    </message>
    <message>
        <source>Target Elm.</source>
        <translation>Element</translation>
    </message>
    <message>
        <source>Req.</source>
        <translation>Required</translation>
    </message>
    <message>
        <source>Target Edge</source>
        <translation>Edge</translation>
    </message>
    <message>
        <source>Opt.</source>
        <translation>Optional</translation>
    </message>
    <message>
        <source>File Name</source>
        <translation>File Name</translation>
    </message>
    <message>
        <source>Opt. (Gen. Auto)</source>
        <translation>Optional (automatic)</translation>
    </message>
    <message>
        <source>Sample Description/Comment</source>
        <translation>Sample Description/Comment</translation>
    </message>
    <message>
        <source>Ref. Sample</source>
        <translation>Reference Sample</translation>
    </message>
    <message>
        <source>Opt. (Foil)</source>
        <translation>Optional (foil)</translation>
    </message>
    <message>
        <source>E.</source>
        <translation>Errors</translation>
    </message>
    <message>
        <source>W.</source>
        <translation>Warnings</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>In.U.</source>
        <translation>Insert above</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Cut</translation>
    </message>
    <message>
        <source>In.D.</source>
        <translation>Insert below</translation>
    </message>
    <message>
        <source>Scan Type</source>
        <translation>Scan Type</translation>
    </message>
    <message>
        <source>Opt. (Q.)</source>
        <translation>Optional (quick)</translation>
    </message>
    <message>
        <source>As default, scan-type is &apos;Quick&apos; and meas-mode is &apos;Trans&apos;.</source>
        <translation>By default the scan type is &apos;Quick&apos; and the measurement mode &apos;Trans&apos;.</translation>
    </message>
    <message>
        <source>Meas. Mode</source>
        <translation>Measurement Mode</translation>
    </message>
    <message>
        <source>Opt. (T.)</source>
        <translation>Optional (transmission)</translation>
    </message>
    <message>
        <source>Mono. Cryst.</source>
        <translation>Monochromator Crystal</translation>
    </message>
    <message>
        <source>M. Dark</source>
        <translation>Measure Dark</translation>
    </message>
    <message>
        <source>&apos;-&apos; : Depending on situations
&apos;Y&apos; : In Any case
&apos;N&apos; : Never</source>
        <translation>&apos;-&apos; : depending on the situation
&apos;Y&apos; : in any case
&apos;N&apos; : never</translation>
    </message>
    <message>
        <source>Tuning</source>
        <translation>Tuning</translation>
    </message>
    <message>
        <source>Block Def. Type</source>
        <translation>Block Definition</translation>
    </message>
    <message>
        <source>Opt. (S.)</source>
        <translation>Optional (standard)</translation>
    </message>
    <message>
        <source>Std. Type</source>
        <translation>Standard Type</translation>
    </message>
    <message>
        <source>Opt.(XAFS)</source>
        <translation>Optional (XAFS)</translation>
    </message>
    <message>
        <source>Def. File</source>
        <translation>Definition File</translation>
    </message>
    <message>
        <source>Opt./Req.</source>
        <translation>Optional/required</translation>
    </message>
    <message>
        <source>Sel.</source>
        <translation>Select...</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Meas. Time(s)</source>
        <translation>Measurement Times (s)</translation>
    </message>
    <message>
        <source>Opt. (1/300)</source>
        <translation>Optional (1/300)</translation>
    </message>
    <message>
        <source>Blocks</source>
        <translation>Blocks</translation>
    </message>
    <message>
        <source>Unit</source>
        <translation>Unit</translation>
    </message>
    <message>
        <source>to Abs.</source>
        <translation>To Absolute</translation>
    </message>
    <message>
        <source>to Rel.</source>
        <translation>To Relative</translation>
    </message>
    <message>
        <source>Holder No. or Sample ID must be specified.</source>
        <translation>Holder No. or Sample ID must be specified.</translation>
    </message>
    <message>
        <source>Target Element must be specified.</source>
        <translation>The element must be given.</translation>
    </message>
    <message>
        <source>Cannot write the block file %1: %2</source>
        <translation>Cannot write the block file %1: %2</translation>
    </message>
    <message>
        <source>Cannot read the block file %1: %2</source>
        <translation>Cannot read the block file %1: %2</translation>
    </message>
    <message>
        <source>Target element &quot;%1&quot; is not in the X-ray table.</source>
        <translation>Element &quot;%1&quot; is not in the X-ray table.</translation>
    </message>
    <message>
        <source>Holder No. must be given: the sample changer would be sent an empty position.</source>
        <translation>Holder No. must be given: the sample changer would be sent an empty position.</translation>
    </message>
    <message>
        <source>Holder No. &quot;%1&quot; is not a position of the sample changer (%2 to %3).</source>
        <translation>Holder No. &quot;%1&quot; is not a position of the sample changer (%2 to %3).</translation>
    </message>
    <message>
        <source>Holder No. &quot;%1&quot; holds characters the bus cannot carry.</source>
        <translation>Holder No. &quot;%1&quot; holds characters the bus cannot carry.</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not one of the choices (%3); &quot;%4&quot; stands in its place.</source>
        <translation>%1: &quot;%2&quot; is not one of the choices (%3); &quot;%4&quot; stands in its place.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not an edge name (%2).</source>
        <translation>&quot;%1&quot; is not an edge name (%2).</translation>
    </message>
    <message>
        <source>%1 has no %2 edge in the X-ray table.</source>
        <translation>%1 has no %2 edge in the X-ray table.</translation>
    </message>
    <message>
        <source>No monochromator crystal is configured: angles are converted with the default lattice spacing, %1 A.</source>
        <translation>No monochromator crystal is configured: angles are converted with the default lattice spacing, %1 Å.</translation>
    </message>
    <message>
        <source>The %1 %2 edge (%3 eV) is outside the range of crystal %4 (%5 - %6 eV).</source>
        <translation>The %1 %2 edge (%3 eV) is outside the range of crystal %4 (%5 - %6 eV).</translation>
    </message>
    <message>
        <source>Measurement times must be given.</source>
        <translation>Measurement times must be given.</translation>
    </message>
    <message>
        <source>Measurement time &quot;%1&quot; is not a positive number.</source>
        <translation>Measurement time &quot;%1&quot; is not a positive number.</translation>
    </message>
    <message>
        <source>Meas. Time(s) gives %1 dwell times for %2 blocks; the last one, %3 s, is used for the blocks after it.</source>
        <translation>Measurement Times (s) gives %1 dwell times for %2 blocks; the last one, %3 s, is used for the blocks after it.</translation>
    </message>
    <message>
        <source>Block %1: Points must be 1 or more.</source>
        <translation>Block %1: Points must be 1 or more.</translation>
    </message>
    <message>
        <source>Block %1 does not end above its start.</source>
        <translation>Block %1 does not end above its start.</translation>
    </message>
    <message>
        <source>The data file name &quot;%1&quot; holds characters the bus cannot carry.</source>
        <translation>The data file name &quot;%1&quot; holds characters the bus cannot carry.</translation>
    </message>
    <message>
        <source>The comment holds characters the bus cannot carry; the target receives &quot;?&quot; in their place.</source>
        <translation>The comment holds characters the bus cannot carry; the target receives &quot;?&quot; in their place.</translation>
    </message>
    <message>
        <source>Entry %1 above writes the same data file %2; this entry overwrites it.</source>
        <translation>Entry %1 above writes the same data file %2; this entry overwrites it.</translation>
    </message>
    <message>
        <source>Errors</source>
        <translation>Errors</translation>
    </message>
    <message>
        <source>Warnings</source>
        <translation>Warnings</translation>
    </message>
    <message>
        <source>No. Erros</source>
        <translation>No Errors</translation>
    </message>
    <message>
        <source>No. Warnings</source>
        <translation>No Warnings</translation>
    </message>
    <message>
        <source>Block Def (*.prm)</source>
        <translation>Block definition (*.prm)</translation>
    </message>
    <message>
        <source>9809 (*.dat)</source>
        <translation>9809 (*.dat)</translation>
    </message>
    <message>
        <source>any (*, *.*)</source>
        <translation>All files (*, *.*)</translation>
    </message>
    <message>
        <source>Block file</source>
        <translation>Block file</translation>
    </message>
    <message>
        <source>Block %1 reaches %2 eV, past the range of crystal %3 (%4 - %5 eV).</source>
        <translation>Block %1 reaches %2 eV, past the range of crystal %3 (%4 - %5 eV).</translation>
    </message>
    <message>
        <source>Estimated duration (h:mm:ss ± spread) after the ticked entry above, moves and the journal&apos;s calibration included; operator prompts not counted</source>
        <translation>Estimated duration (h:mm:ss ± spread) after the ticked entry above, moves and the journal&apos;s calibration included; operator prompts not counted</translation>
    </message>
</context>
<context>
    <name>ScheduleHistory</name>
    <message>
        <source>Edit entry %1</source>
        <translation>Edit entry %1</translation>
    </message>
</context>
<context>
    <name>ScheduleModel</name>
    <message>
        <source>pending</source>
        <translation>pending</translation>
    </message>
    <message>
        <source>running</source>
        <translation>running</translation>
    </message>
    <message>
        <source>running: %1</source>
        <translation>running: %1</translation>
    </message>
    <message>
        <source>done</source>
        <translation>done</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>failed</translation>
    </message>
    <message>
        <source>failed: %1</source>
        <translation>failed: %1</translation>
    </message>
    <message>
        <source>skipped</source>
        <translation>skipped</translation>
    </message>
    <message>
        <source>stopped</source>
        <translation>stopped</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>Exec</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>Holder</source>
        <translation>Holder</translation>
    </message>
    <message>
        <source>Sample</source>
        <translation>Sample</translation>
    </message>
    <message>
        <source>Scan</source>
        <translation>Scan</translation>
    </message>
    <message>
        <source>Blocks</source>
        <translation>Blocks</translation>
    </message>
    <message>
        <source>Estimate</source>
        <translation>Estimate</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>End</source>
        <translation>End</translation>
    </message>
    <message>
        <source>Comment</source>
        <translation>Comment</translation>
    </message>
    <message>
        <source>Data file</source>
        <translation>Data file</translation>
    </message>
    <message>
        <source>Element</source>
        <translation>Element</translation>
    </message>
    <message>
        <source>Edge</source>
        <translation>Edge</translation>
    </message>
    <message>
        <source>Crystal</source>
        <translation>Crystal</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Dark</translation>
    </message>
    <message>
        <source>Tuning</source>
        <translation>Tuning</translation>
    </message>
    <message>
        <source>Blocks by</source>
        <translation>Blocks by</translation>
    </message>
</context>
<context>
    <name>Tolva</name>
    <message>
        <source>Tolva Settings</source>
        <translation>Tolva Settings</translation>
    </message>
    <message>
        <source>Tolva:</source>
        <translation>Tolva:</translation>
    </message>
    <message>
        <source>Name on Tolva</source>
        <translation>Name on Tolva</translation>
    </message>
    <message>
        <source>Key File Name</source>
        <translation>Key File Name</translation>
    </message>
    <message>
        <source>Host</source>
        <translation>Host</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>Action</source>
        <translation>Action</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Disconnected</source>
        <translation>Disconnected</translation>
    </message>
    <message>
        <source>The bus carries Latin-1 only: %1 sent as &quot;?&quot; in [%2]</source>
        <translation>The bus carries Latin-1 only: %1 sent as &quot;?&quot; in [%2]</translation>
    </message>
    <message>
        <source>A line from Tolva is longer than %1 bytes; closing the connection.</source>
        <translation>A line from Tolva is longer than %1 bytes; closing the connection.</translation>
    </message>
    <message>
        <source>Connected To Tolva</source>
        <translation>Connected to Tolva</translation>
    </message>
    <message>
        <source>The bus server refused the login: %1</source>
        <translation>The bus server refused the login: %1</translation>
    </message>
    <message>
        <source>Tolva sent no challenge within %1 s; the connection is closed.</source>
        <translation>Tolva sent no challenge within %1 s; the connection is closed.</translation>
    </message>
    <message>
        <source>Tolva did not answer the key within %1 s; the connection is closed.</source>
        <translation>Tolva did not answer the key within %1 s; the connection is closed.</translation>
    </message>
    <message>
        <source>opening key file [%1]</source>
        <translation>Opening key file [%1]</translation>
    </message>
    <message>
        <source>Can&apos;t open key file [%1]</source>
        <translation>Cannot open key file [%1]</translation>
    </message>
    <message>
        <source>I have no key to exchange with Tolva.</source>
        <translation>No key to exchange with Tolva.</translation>
    </message>
    <message>
        <source>sending key [%1][key %2 of %3]</source>
        <translation>Sending key [%1] [key %2 of %3]</translation>
    </message>
    <message>
        <source>Connecting to Tolva abandoned.</source>
        <translation>Connecting to Tolva abandoned.</translation>
    </message>
    <message>
        <source>Tolva: no longer reconnecting.</source>
        <translation>Tolva: no longer reconnecting.</translation>
    </message>
    <message>
        <source>Tolva: the connection to the bus server is down; Skedra reconnects by itself (first try in %1 s, then at most every %2 s).</source>
        <translation>Tolva: the connection to the bus server is down; Skedra reconnects by itself (first try in %1 s, then at most every %2 s).</translation>
    </message>
    <message>
        <source>Port [%1] is not a number from 1 to 65535; not connecting to Tolva.</source>
        <translation>Port [%1] is not a number from 1 to 65535; not connecting to Tolva.</translation>
    </message>
    <message>
        <source>Cannot connect to Tolva: %1</source>
        <translation>Cannot connect to Tolva: %1</translation>
    </message>
    <message>
        <source>Tolva: connected again to the bus server.</source>
        <translation>Tolva: connected again to the bus server.</translation>
    </message>
    <message>
        <source>reconnecting (try %1 in %2 s)</source>
        <translation>reconnecting (try %1 in %2 s)</translation>
    </message>
</context>
<context>
    <name>UnattendedRun</name>
    <message>
        <source>-resume-last: the last run in %1 ended; nothing to resume.</source>
        <translation>-resume-last: the last run in %1 ended; nothing to resume.</translation>
    </message>
    <message>
        <source>-resume-last: %1 is not loaded; the run cut short goes on instead.</source>
        <translation>-resume-last: %1 is not loaded; the run cut short goes on instead.</translation>
    </message>
    <message>
        <source>Cannot read the schedule file %1; no run is started.</source>
        <translation>Cannot read the schedule file %1; no run is started.</translation>
    </message>
    <message>
        <source>-entries is not used: the run cut short goes on with its own entries.</source>
        <translation>-entries is not used: the run cut short goes on with its own entries.</translation>
    </message>
    <message>
        <source>No run is started.</source>
        <translation>No run is started.</translation>
    </message>
    <message>
        <source>Not logged in to the bus server at %1:%2 after %3 s (WAIT_LIMIT)</source>
        <translation>Not logged in to the bus server at %1:%2 after %3 s (WAIT_LIMIT)</translation>
    </message>
    <message>
        <source>The target %1 has not logged in to the bus after %2 s (WAIT_LIMIT)</source>
        <translation>The target %1 has not logged in to the bus after %2 s (WAIT_LIMIT)</translation>
    </message>
    <message>
        <source>no run is started.</source>
        <translation>no run is started.</translation>
    </message>
    <message>
        <source>Asked to quit by a signal: the run stops and Skedra ends.</source>
        <translation>Asked to quit by a signal: the run stops and Skedra ends.</translation>
    </message>
    <message>
        <source>Resuming the run (-resume-last).</source>
        <translation>Resuming the run (-resume-last).</translation>
    </message>
    <message>
        <source>Starting the run (-go).</source>
        <translation>Starting the run (-go).</translation>
    </message>
    <message>
        <source>Entries that failed or were not measured earlier in the night: %1.</source>
        <translation>Entries that failed or were not measured earlier in the night: %1.</translation>
    </message>
    <message>
        <source>Run finished; quitting (-quit-when-done).</source>
        <translation>Run finished; quitting (-quit-when-done).</translation>
    </message>
    <message>
        <source>Run ended on an error; quitting (-quit-when-done).</source>
        <translation>Run ended on an error; quitting (-quit-when-done).</translation>
    </message>
</context>
</TS>
