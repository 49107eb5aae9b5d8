#!/usr/bin/env bash
# Under a window manager, Tarvio's start-up window opens above its full-screen
# background, three starts out of three. A private X server (Xvfb, on a free display)
# runs openbox; the stacking order the window manager publishes says which window is on
# top. Without Xvfb, openbox or xprop, or when the window manager does not start, the test
# is skipped (exit 77). The window manager and Tarvio get a home folder of the test's own
# (openbox refuses an empty HOME, and neither writes into the caller's). Everything it
# starts is stopped at the end.
set -uo pipefail
tarvio=${1:?the built tarvio}
for tool in Xvfb openbox xprop xwininfo; do
  command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool is missing"; exit 77; }
done
work=$(mktemp -d /tmp/vt-wm.XXXXXX)
mkdir -p "$work/home" "$work/folder"
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_CACHE_HOME=$work/home/.cache
export XDG_RUNTIME_DIR=$work/home/run
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1366x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "skipped: Xvfb did not start"; exit 77; }
export DISPLAY=:$(head -n1 "$work/display")
openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
wm=0
until=$((SECONDS + 30))
while [ "$SECONDS" -lt "$until" ]; do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && { wm=1; break; }
  sleep 0.1
done
if [ "$wm" -ne 1 ]; then
  echo "skipped: openbox did not start within 30 s"
  sed 's/^/  openbox: /' "$work/openbox.log"
  exit 77
fi

# The client windows, bottom first, as the window manager stacks them.
stacking() {
  xprop -root _NET_CLIENT_LIST_STACKING 2>/dev/null | sed -n 's/.*# //p' | tr -d ' ' | tr ',' ' '
}
width() { xwininfo -id "$1" 2>/dev/null | awk '/Width:/ {print $2}'; }

failed=0
for start in 1 2 3; do
  (cd "$work/folder" && QT_QPA_PLATFORM=xcb exec "$tarvio") >"$work/tarvio.log" 2>&1 &
  pid=$!
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
    # A Qt that cannot reach the private X server is this machine's lack, not Tarvio's.
    if grep -qiE "could not connect to display|could not load the qt platform plugin" \
         "$work/tarvio.log"; then
      echo "skipped: Tarvio cannot open the private X display"
      sed 's/^/  tarvio: /' "$work/tarvio.log"
      kill "$pid" 2>/dev/null
      exit 77
    fi
    echo "start $start: FAILED, ${#windows[@]} windows shown"
    kill -0 "$pid" 2>/dev/null || echo "  tarvio ended by itself"
    sed 's/^/  tarvio: /' "$work/tarvio.log"
    sed 's/^/  openbox: /' "$work/openbox.log"
    failed=1
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
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
