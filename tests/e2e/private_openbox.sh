# Sourced by the window-manager checks: a private X server (Xvfb, on a free display, a
# 1366x768 screen) running openbox, with a home folder of the check's own (openbox refuses
# an empty HOME, and neither it nor the programs write into the caller's). Without Xvfb,
# openbox, xprop or xwininfo, or when the window manager does not start, the check is
# skipped (exit 77). Everything started here, and every pid the caller adds to `pids`, is
# stopped at the end. Gives `work` (the check's own folder), `stacking` and `width`.
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

# A Qt that cannot reach the private X server is this machine's lack, not the program's:
# skipped, with what the program said (its log is $1).
skip_without_display() {
  if grep -qiE "could not connect to display|could not load the qt platform plugin" "$1"; then
    echo "skipped: the program cannot open the private X display"
    sed 's/^/  program: /' "$1"
    exit 77
  fi
}
