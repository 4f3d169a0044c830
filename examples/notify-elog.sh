#!/bin/sh
# Skedra's NOTIFY_CMD example for an ELOG logbook: each event of the night
# becomes an entry; at the end of a run (finished, failed) the night report
# goes with it as an attachment. Skedra calls it with the event (finished,
# failed, stalled, target-lost, prompt), one line of text and, for finished
# and failed, the night report's path. Needs the elog client (package
# elog); set the host and the logbook below or in the environment.
#   NOTIFY_CMD /usr/share/skedra/examples/notify-elog.sh
host=${SKEDRA_ELOG_HOST:-localhost}
logbook=${SKEDRA_ELOG_LOGBOOK:-Beamline}
event=$1
text=$2
report=$3
if [ -n "$report" ] && [ -f "$report" ]; then
  exec elog -h "$host" -l "$logbook" -a "Subject=Skedra: $event" -a "Author=Skedra" \
    -f "$report" "$text"
fi
exec elog -h "$host" -l "$logbook" -a "Subject=Skedra: $event" -a "Author=Skedra" "$text"
