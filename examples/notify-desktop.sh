#!/bin/sh
# Skedra's NOTIFY_CMD example: a desktop notification for each event of the
# night. Skedra calls it with two arguments, the event (finished, failed,
# stalled, target-lost, prompt) and one line of text.
#   NOTIFY_CMD /usr/share/skedra/examples/notify-desktop.sh
event=$1
text=$2
case "$event" in
  finished) urgency=normal ;;
  *) urgency=critical ;;
esac
exec notify-send --urgency="$urgency" "Skedra: $event" "$text"
