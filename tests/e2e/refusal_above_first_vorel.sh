#!/usr/bin/env bash
# Under a window manager, a second Vorel started on a folder the first one holds shows its
# refusal above the first one's start-up window, as the active window, and it stays there
# while the first one's clock ticks; three starts out of three, on a private Xvfb running
# openbox (skipped where those are missing). The club's folder comes from the bench's
# folder writer; the stacking order and the active window the window manager publishes
# say which window is on top.
set -uo pipefail
vorel=${1:?the built vorel}
bench_folder=${2:?the built vt_bench_folder}
source "$(dirname "$0")/private_openbox.sh"
"$bench_folder" "$work/folder" 5 2 >/dev/null || { echo "FAILED: no club folder"; exit 1; }

pid_of() { xprop -id "$1" _NET_WM_PID 2>/dev/null | awk '{print $3}'; }
active() { xprop -root _NET_ACTIVE_WINDOW 2>/dev/null | sed -n 's/.*# //p' | tr -d ' '; }
# Waits until a window of process $1 is shown; prints its id.
window_of() {
  local until=$((SECONDS + 30))
  while [ "$SECONDS" -lt "$until" ] && kill -0 "$1" 2>/dev/null; do
    for w in $(stacking); do
      [ "$(pid_of "$w")" = "$1" ] && { echo "$w"; return 0; }
    done
    sleep 0.1
  done
  return 1
}
same_window() { [ -n "$1" ] && [ -n "$2" ] && [ $(($1)) -eq $(($2)) ]; }

failed=0
for start in 1 2 3; do
  (cd "$work/folder" && QT_QPA_PLATFORM=xcb exec "$vorel") >"$work/first.log" 2>&1 &
  first=$!
  pids+=("$first")
  if ! window_of "$first" >/dev/null; then
    skip_without_display "$work/first.log"
    echo "start $start: FAILED, the first Vorel shows no window"
    sed 's/^/  vorel: /' "$work/first.log"
    exit 1
  fi
  sleep 1.5 # the first one's start settles and holds the focus
  (cd "$work/folder" && QT_QPA_PLATFORM=xcb exec "$vorel") >"$work/second.log" 2>&1 &
  second=$!
  pids+=("$second")
  if ! box=$(window_of "$second"); then
    echo "start $start: FAILED, the second Vorel shows no refusal"
    sed 's/^/  vorel: /' "$work/second.log"
    failed=1
  else
    sleep 2.5 # past the first one's ticks that bring its start-up window forward
    read -r -a windows <<<"$(stacking)"
    if same_window "${windows[-1]}" "$box" && same_window "$(active)" "$box"; then
      echo "start $start: the refusal is on top and active"
    else
      echo "start $start: FAILED, the refusal opened under the first Vorel's window"
      for w in "${windows[@]}"; do echo "  window $w of pid $(pid_of "$w")"; done
      echo "  active window $(active); first pid $first, second pid $second"
      failed=1
    fi
  fi
  kill "$second" "$first" 2>/dev/null
  wait "$second" "$first" 2>/dev/null
done
exit "$failed"
