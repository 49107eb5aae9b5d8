#!/usr/bin/env bash
# Prints from Vorel through a real CUPS queue, once: a private cupsd (its own folder and
# socket under /tmp, so the machine's own printing is left alone) with a PDF queue
# (cups-pdf) as its default printer; Vorel prints a calendar and a distance sheet on the
# default printer (tests/e2e/cups_print_check.cpp), and the PDF files the queue writes are
# read back: their texts, their font and their paper. Where cupsd cannot run here, it
# says "skipped" and ends with success. Every wait is bounded, and cupsd is stopped at the
# end whatever happens. VT_CUPS_KEEP=1 keeps its folder (logs, the queue's PDFs) to look at.
#
# It installs nothing unless its caller asks: on a desktop, installing the PDF printer
# starts CUPS and may make a "PDF" queue the default printer, after which Vorel prints
# there instead of into impressions/. With VT_CUPS_INSTALL=1 (CI sets it in .ci/run, on a
# machine thrown away afterwards) the missing packages are installed; otherwise a missing
# package makes the check say "skipped" and why.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
check=$build/tests/e2e/e2e_cups_print_check
queue=VT_PDF
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd

say() { echo "cups-check: $*"; }
skip() {
  say "skipped: $* (the printer path is not checked here)"
  exit 0
}

packages=(cups cups-client printer-driver-cups-pdf poppler-utils)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ] && [ "${VT_CUPS_INSTALL:-}" != 1 ]; then
  skip "${missing[*]} not installed, and this check installs nothing unless asked" \
    "(VT_CUPS_INSTALL=1 installs them, which may add a default PDF printer to this machine)"
fi
[ "$(id -u)" -eq 0 ] || skip "cups-pdf, the PDF queue's backend, runs only as root"
if [ ${#missing[@]} -gt 0 ] && ! "$root/scripts/setup.sh" "${missing[@]}"; then
  skip "${missing[*]} cannot be installed"
fi
for tool in cupsd lpadmin lpstat pdftotext pdffonts pdfinfo timeout; do
  command -v "$tool" >/dev/null 2>&1 || PATH=$PATH:/usr/sbin
  command -v "$tool" >/dev/null 2>&1 || skip "$tool is missing"
done
[ -f "$ppd" ] || skip "$ppd is missing"
if [ ! -x "$check" ]; then
  say "FAILED: $check is missing (scripts/build.sh builds it)"
  exit 1
fi

work=$(mktemp -d /tmp/vt-cups.XXXXXX)
chmod 755 "$work" # the filters run as lp
instance=vtcheck${work##*.}
# cups-pdf reads the settings of the instance named in its device URI from /etc/cups only;
# this file names this run and goes with it.
pdfconf=/etc/cups/cups-pdf-$instance.conf
cupsd_pid=""

cleanup() {
  if [ -n "$cupsd_pid" ] && kill -0 "$cupsd_pid" 2>/dev/null; then
    kill "$cupsd_pid" 2>/dev/null
    for _ in $(seq 50); do
      kill -0 "$cupsd_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -9 "$cupsd_pid" 2>/dev/null
    wait "$cupsd_pid" 2>/dev/null
  fi
  rm -f "$pdfconf"
  if [ -n "${VT_CUPS_KEEP:-}" ]; then
    say "kept $work"
  else
    rm -rf "$work"
  fi
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

fail() {
  say "FAILED: $*"
  if [ -f "$work/log/error_log" ]; then
    echo "--- end of cupsd's log:"
    grep -v '^D' "$work/log/error_log" | tail -n 40
  fi
  exit 1
}

mkdir -p "$work"/{etc/ppd,spool,cache,state,log,out,home,cups-pdf-spool}
mkdir -m 1777 "$work/tmp"
mkdir -m 700 "$work/runtime"
cat >"$work/etc/cupsd.conf" <<EOF
Listen $work/cups.sock
LogLevel info
Browsing No
WebInterface No
DefaultAuthType None
PreserveJobHistory Yes
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
cat >"$work/etc/cups-files.conf" <<EOF
ServerRoot $work/etc
RequestRoot $work/spool
CacheDir $work/cache
StateDir $work/state
TempDir $work/tmp
ErrorLog $work/log/error_log
AccessLog $work/log/access_log
PageLog $work/log/page_log
Printcap $work/printcap
SystemGroup root
Sandboxing Relaxed
EOF
cat >"$pdfconf" <<EOF
Out $work/out
AnonDirName $work/out
Spool $work/cups-pdf-spool
Label 1
EOF

# The clients (lpadmin, lpstat and the program) talk to this cupsd only.
export CUPS_SERVER=$work/cups.sock CUPS_SERVERROOT=$work/etc HOME=$work/home
export XDG_RUNTIME_DIR=$work/runtime
unset LPDEST PRINTER

start=$(date +%s)
cupsd -f -c "$work/etc/cupsd.conf" -s "$work/etc/cups-files.conf" >"$work/log/cupsd.out" 2>&1 &
cupsd_pid=$!
running=""
deadline=$((SECONDS + 15))
while [ "$SECONDS" -lt "$deadline" ]; do
  if ! kill -0 "$cupsd_pid" 2>/dev/null; then
    break
  fi
  if [ -S "$work/cups.sock" ] && timeout 5 lpstat -r 2>/dev/null | grep -q "is running"; then
    running=yes
    break
  fi
  sleep 0.1
done
if [ -z "$running" ]; then
  cat "$work/log/cupsd.out" "$work/log/error_log" 2>/dev/null | tail -n 20
  skip "cupsd does not start here"
fi

# A4 paper. The PDF the program sends is turned into PostScript for cups-pdf with
# pdftocairo, which keeps the fonts' names and the text; the default renderer
# (Ghostscript) draws the letters as Type 3 shapes that cannot be read back.
timeout 30 lpadmin -p "$queue" -E -v "cups-pdf:/$instance" -P "$ppd" -o PageSize=A4 \
  -o pdftops-renderer-default=pdftocairo 2> >(grep -v "deprecated" >&2) ||
  fail "lpadmin could not add the queue $queue"
timeout 30 lpadmin -d "$queue" || fail "lpadmin could not make $queue the default printer"
say "cupsd runs with the PDF queue $queue as the default printer"

if ! QT_QPA_PLATFORM=offscreen VT_CUPS_QUEUE=$queue timeout 120 "$check" -silent; then
  fail "Vorel did not print through the queue ($check)"
fi

# Both jobs done and both files written, or a bounded wait fails.
shopt -s nullglob
done=""
deadline=$((SECONDS + 60))
while [ "$SECONDS" -lt "$deadline" ]; do
  pdfs=("$work"/out/*.pdf)
  if [ "${#pdfs[@]}" -ge 2 ] && [ -z "$(timeout 5 lpstat -o "$queue" 2>/dev/null)" ]; then
    done=yes
    break
  fi
  sleep 0.25
done
[ -n "$done" ] || fail "the queue wrote ${#pdfs[@]} PDF files of 2 within 60 s"
[ "${#pdfs[@]}" -eq 2 ] || fail "the queue wrote ${#pdfs[@]} PDF files, 2 expected"
timeout 5 lpstat -W completed -o "$queue" | grep -q . || fail "no job of $queue completed"

# $1 file, $2 what it is, then the extended regular expressions its text must match.
expect_texts() {
  local file=$1 what=$2 text pattern
  shift 2
  text=$(pdftotext -layout "$file" - 2>/dev/null)
  for pattern in "$@"; do
    grep -Eq -- "$pattern" <<<"$text" || fail "$what: no text matching '$pattern' in
$text"
  done
}
# Every font of the file is Liberation Mono, the face that answers for "Courier New".
expect_courier() {
  local file=$1 what=$2 fonts
  fonts=$(pdffonts "$file" 2>/dev/null | tail -n +3 | awk '{print $1}')
  [ -n "$fonts" ] || fail "$what: no font in the file"
  if grep -vq 'LiberationMono' <<<"$fonts"; then
    fail "$what: fonts other than Liberation Mono:
$(pdffonts "$file")"
  fi
}
# Every page is A4, and the document reads in the orientation given (portrait or
# landscape). The queue's paper is portrait A4: a landscape document comes out on it
# turned a quarter, its lines running up the sheet, as on a paper printer; so the
# orientation read is the page's own (after its /Rotate), swapped when most words run
# up or down the page.
expect_paper() {
  local file=$1 what=$2 orientation=$3
  pdftotext -bbox "$file" - 2>/dev/null | awk -v want="$orientation" '
    function attr(s, name) {
      if (!match(s, name "=\"[0-9.]+\"")) return -1
      return substr(s, RSTART + length(name) + 2, RLENGTH - length(name) - 3) + 0
    }
    function near(a, b) { return a > b - 2 && a < b + 2 }
    /<page / {
      p++; w[p] = attr($0, "width"); h[p] = attr($0, "height")
      tall[p] = 0; wide[p] = 0
    }
    /<word / {
      text = $0; sub(/.*">/, "", text); sub(/<.*/, "", text)
      if (length(text) < 3) next
      if (attr($0, "yMax") - attr($0, "yMin") > attr($0, "xMax") - attr($0, "xMin")) tall[p]++
      else wide[p]++
    }
    END {
      if (!p) { print "no page"; exit 1 }
      for (i = 1; i <= p; i++) {
        if (!(near(w[i], 595) && near(h[i], 842)) && !(near(w[i], 842) && near(h[i], 595))) {
          print "page " i " is " w[i] " x " h[i] " pt, not A4"; exit 1
        }
        got = ((w[i] > h[i]) != (tall[i] > wide[i])) ? "landscape" : "portrait"
        if (got != want) { print "page " i " reads " got; exit 1 }
      }
    }' >"$work/paper" || fail "$what: $(cat "$work/paper"), $orientation A4 expected:
$(pdfinfo "$file")"
}

calendar="" sheet=""
for f in "${pdfs[@]}"; do
  text=$(pdftotext "$f" - 2>/dev/null)
  case $text in
  *"CALENDRIER : "*) calendar=$f ;;
  *"LISTE DE DISTANCES"*) sheet=$f ;;
  esac
done
[ -n "$calendar" ] || fail "no PDF of the queue holds the calendar"
[ -n "$sheet" ] || fail "no PDF of the queue holds the distance sheet"

expect_texts "$calendar" "the calendar" "CALENDRIER : LES AILES LILLOISES" \
  "001 ORLEANS +12 mai 2005 +VIEUX" "002 BORDEAUX +26 juin 2005 +FEMELLES"
expect_courier "$calendar" "the calendar"
expect_paper "$calendar" "the calendar" landscape

expect_texts "$sheet" "the distance sheet" \
  "LISTE DE DISTANCES édité le [0-9]{2} [a-zéû]+ [0-9]{4}" \
  "DUPONT Jean" "Coordonnées GPS : 50°38'12 - 03°03'50 EST" \
  "Société de : LES AILES LILLOISES" "Licence N° : 1234567" \
  "ARRAS +[0-9]+" "BORDEAUX +[0-9]+" "ORLEANS +[0-9]+" "TOURS +[0-9]+"
expect_courier "$sheet" "the distance sheet"
expect_paper "$sheet" "the distance sheet" portrait

say "passed: the calendar (landscape) and the distance sheet (portrait) came out of the" \
  "queue on A4 in Liberation Mono with their texts, in $(($(date +%s) - start)) s"
