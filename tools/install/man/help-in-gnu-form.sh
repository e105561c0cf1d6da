#!/bin/sh
# Runs the tool named by VERRINE_TOOL with the given arguments and passes its
# output on with the usage in the form help2man reads as the synopsis: the
# tools print "usage: NAME ..." wrapped over indented lines for a terminal,
# help2man takes a synopsis only from "Usage: NAME ..." on one line. All
# else is passed on as it is.
"$VERRINE_TOOL" "$@" | awk '
  NR == 1 && sub(/^usage: /, "Usage: ") { usage = $0; next }
  usage != "" && /^ +[^ ]/ { sub(/^ +/, " "); usage = usage $0; next }
  usage != "" { print usage; usage = "" }
  { print }
  END { if (usage != "") print usage }'
