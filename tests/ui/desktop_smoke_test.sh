#!/usr/bin/env bash
# Starts the desktop program on a prepared program folder, ends it with
# SIGTERM and checks that both files were written back in full.
set -euo pipefail
program="$1"
if [ -z "${DISPLAY:-}" ]; then
  echo "no X server: skipped"
  exit 0
fi
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
printf 'admin\r\nsecret\r\n25\r\n0\r\n0\r\n0\r\nNAME\r\n1\r\n\r\n' > "$home/vantrel.ini"
printf 'PC-A\r\n10.0.0.1\r\nPC-A\r\nTrue\r\n\r\n\r\nFalse\r\n' > "$home/lg.ini"
"$program" --home "$home" &
pid=$!
sleep 3
kill -0 "$pid"   # still running: the window is up
kill -TERM "$pid"
wait "$pid"
printf 'admin\r\nsecret\r\n-19 \r\n 10 \r\n 0 \r\n 0 \r\nNAME\r\n 1 \r\nroot\\cimv2\r\n' > "$home/expected.ini"
printf 'PC-A\r\n10.0.0.1\r\nPC-A\r\nTrue\r\n\r\n\r\nFalse\r\n' > "$home/expected-lg.ini"
cmp "$home/expected.ini" "$home/vantrel.ini" || { echo "vantrel.ini differs:"; cat -A "$home/vantrel.ini"; exit 1; }
cmp "$home/expected-lg.ini" "$home/lg.ini" || { echo "lg.ini differs"; exit 1; }
[ "$(stat -c %a "$home/lg.ini")" == 600 ] || { echo "lg.ini is not private"; exit 1; }
echo ok
