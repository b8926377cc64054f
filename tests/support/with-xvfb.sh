#!/usr/bin/env bash
# Runs a command under a private Xvfb server and stops the server afterwards.
# Usage: with-xvfb.sh command [args...]
# The display number is picked by Xvfb itself (-displayfd), so parallel tests never share one.
set -u

if ! command -v Xvfb >/dev/null 2>&1; then
  echo "with-xvfb: Xvfb is not installed (scripts/setup.sh installs it)" >&2
  exit 1
fi

fifo=$(mktemp -u /tmp/ostrel-xvfb.XXXXXX)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset +extension MIT-SHM +extension RANDR 3>"$fifo" \
  >/dev/null 2>&1 &
xvfb_pid=$!
display=""
read -r -t 20 display <"$fifo"
rm -f "$fifo"
if [ -z "$display" ]; then
  echo "with-xvfb: Xvfb did not start" >&2
  kill "$xvfb_pid" 2>/dev/null
  exit 1
fi

export DISPLAY=":$display"
"$@"
status=$?
kill "$xvfb_pid" 2>/dev/null
wait "$xvfb_pid" 2>/dev/null
exit $status
