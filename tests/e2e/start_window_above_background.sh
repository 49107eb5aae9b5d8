#!/usr/bin/env bash
# Under a window manager, Tarvio's start-up window opens above its full-screen
# background, three starts out of three, on a private Xvfb running openbox (skipped where
# those are missing); the stacking order the window manager publishes says which window
# is on top.
set -uo pipefail
tarvio=${1:?the built tarvio}
source "$(dirname "$0")/private_openbox.sh"

failed=0
for start in 1 2 3; do
  (cd "$work/folder" && QT_QPA_PLATFORM=xcb exec "$tarvio") >"$work/tarvio.log" 2>&1 &
  pid=$!
  pids+=("$pid")
  windows=()
  until=$((SECONDS + 30))
  while [ "$SECONDS" -lt "$until" ] && kill -0 "$pid" 2>/dev/null; do
    read -r -a windows <<<"$(stacking)"
    [ "${#windows[@]}" -ge 2 ] && break
    sleep 0.1
  done
  sleep 0.5 # the window manager's last restacking of the start
  read -r -a windows <<<"$(stacking)"
  if [ "${#windows[@]}" -lt 2 ]; then
    skip_without_display "$work/tarvio.log"
    echo "start $start: FAILED, ${#windows[@]} windows shown"
    kill -0 "$pid" 2>/dev/null || echo "  tarvio ended by itself"
    sed 's/^/  tarvio: /' "$work/tarvio.log"
    sed 's/^/  openbox: /' "$work/openbox.log"
    failed=1
    break
  else
    top=${windows[-1]}
    w=$(width "$top")
    if [ -n "$w" ] && [ "$w" -lt 1366 ]; then
      echo "start $start: the start-up window ($w pixels wide) is above the background"
    else
      echo "start $start: FAILED, the full-screen background is on top"
      failed=1
    fi
  fi
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
done
exit "$failed"
