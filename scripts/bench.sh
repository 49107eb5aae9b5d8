#!/usr/bin/env bash
# Builds the benchmarks (Release) and runs them on generated club folders at two sizes,
# then prints one table: operation, size, time, target, verdict, with the `cp` reference
# of the season's opening and, for every operation, how its time grows between the sizes.
#
#   scripts/bench.sh              everything (about 6 to 8 minutes, the PDF sheets most)
#   BENCH_FILTER=Window scripts/bench.sh    only the benchmarks whose name matches
#   BENCH_MIN_TIME=1 scripts/bench.sh       longer measures (seconds per benchmark; 0.5)
#   BENCH_REPETITIONS=5 scripts/bench.sh    runs per benchmark, the median kept (3)
#   BENCH_JOBS=8 scripts/bench.sh           build jobs (3)
# Build folder: $BENCH_BUILD_DIR, by default build-bench beside build/. The raw results
# stay in $BENCH_BUILD_DIR/bench-results (one CSV and one log per program).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BENCH_BUILD_DIR:-$root/build-bench}
min_time=${BENCH_MIN_TIME:-0.5}
filter=${BENCH_FILTER:-.}
programs=(bench_rules bench_windows bench_race_grid bench_print)

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"${BENCH_JOBS:-3}" --target "${programs[@]}" >/dev/null

results=$build/bench-results
rm -rf "$results"
mkdir -p "$results"
export QT_QPA_PLATFORM=offscreen
export QT_LOGGING_RULES="qt.qpa.*=false"
for p in "${programs[@]}"; do
  echo "running $p ..." >&2
  # The median of 3 runs, against the noise of a shared machine; the PDF sheets, which
  # take minutes, run once.
  repetitions=${BENCH_REPETITIONS:-3}
  [ "$p" = bench_print ] && repetitions=1
  "$build/tests/bench/$p" --benchmark_min_time="$min_time" --benchmark_filter="$filter" \
    --benchmark_repetitions="$repetitions" --benchmark_report_aggregates_only=true \
    --benchmark_out="$results/$p.csv" --benchmark_out_format=csv >"$results/$p.log" 2>&1 ||
    { echo "$p failed; see $results/$p.log" >&2; exit 1; }
done

echo
echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')," \
     "$(free -h | awk '/^Mem:/ {print $2}') memory; load average at the end:" \
     "$(cut -d' ' -f1-3 /proc/loadavg)"
echo

# The CSV rows (name,iterations,real_time,cpu_time,time_unit,...) of every program; the
# wall-clock time is the measure.
cat "$results"/*.csv | awk -F, '
function ms(t, unit) {
  if (unit == "ns") return t / 1e6
  if (unit == "us") return t / 1e3
  if (unit == "s") return t * 1e3
  return t
}
function show(t) { return t >= 10000 ? sprintf("%.1f s", t / 1000) : t >= 100 ? sprintf("%.0f ms", t) : t >= 1 ? sprintf("%.1f ms", t) : sprintf("%.4f ms", t) }
function row(op, size, t, target, verdict) {
  printf "| %-40s | %-14s | %11s | %-30s | %-28s |\n", op, size, t, target, verdict
}
BEGIN {
  # benchmark -> operation, unit of its size, target in ms (0: growth only)
  op["BM_OpenSeason"] = "Opening a season (copy of noms.vba)"; unit["BM_OpenSeason"] = "fanciers"
  op["BM_CopyMasterWithCp"] = "  reference: cp of the master file"; unit["BM_CopyMasterWithCp"] = "fanciers"
  op["BM_CopyMasterWithCpAndSync"] = "  for information: cp, then sync --data"; unit["BM_CopyMasterWithCpAndSync"] = "fanciers"
  op["BM_FanciersWindow"] = "Fanciers list window shown (gnoms)"; unit["BM_FanciersWindow"] = "fanciers"; target["BM_FanciersWindow"] = 200
  op["BM_RecapWindow"] = "Recap window shown (recapam)"; unit["BM_RecapWindow"] = "fanciers"; target["BM_RecapWindow"] = 200
  op["BM_DigitOnAStakeLine"] = "Keystroke: a digit on a stake line"; unit["BM_DigitOnAStakeLine"] = "lines"; target["BM_DigitOnAStakeLine"] = 1
  op["BM_EnterOnAStakeLine"] = "Keystroke: Enter on a stake line"; unit["BM_EnterOnAStakeLine"] = "lines"; target["BM_EnterOnAStakeLine"] = 1
  op["BM_ClearEngages"] = "Keystroke: Esc on ENGAGES (all lines)"; unit["BM_ClearEngages"] = "lines"; target["BM_ClearEngages"] = 1
  op["BM_BuildGrid"] = "Race grid built (sheet opening)"; unit["BM_BuildGrid"] = "lines"
  op["BM_SaveEntrySheet"] = "Entry sheet saved across the races"; unit["BM_SaveEntrySheet"] = "races"; target["BM_SaveEntrySheet"] = 50
  op["BM_StoreRaceRecaps"] = "Recaps of 11 races stored"; unit["BM_StoreRaceRecaps"] = "fanciers"
  op["BM_DistanceSheetsToPdf"] = "Distance sheets printed to PDF"; unit["BM_DistanceSheetsToPdf"] = "fanciers"
  # A target per item of the size (ms), at every size: one sheet per fancier.
  perItem["BM_DistanceSheetsToPdf"] = 5; item["BM_DistanceSheetsToPdf"] = "sheet"
  op["BM_TarvioSiteList"] = "Tarvio: site list for one date"; unit["BM_TarvioSiteList"] = "sites"
  order = "BM_OpenSeason BM_CopyMasterWithCp BM_CopyMasterWithCpAndSync BM_FanciersWindow BM_RecapWindow BM_DigitOnAStakeLine BM_EnterOnAStakeLine BM_ClearEngages BM_BuildGrid BM_SaveEntrySheet BM_StoreRaceRecaps BM_DistanceSheetsToPdf BM_TarvioSiteList"
  n = split(order, names, " ")
}
/^"BM_/ {
  gsub(/"/, "")
  if ($1 ~ /_(mean|stddev|cv)$/) next
  sub(/_median$/, "", $1)
  split($1, part, "/")
  name = part[1]; size = part[2] + 0
  if ($9 == "true") { failed[name] = 1; next }
  t = ms($3 + 0, $5)
  time[name, size] = t
  if (!(name in smallest) || size < smallest[name]) smallest[name] = size
  if (!(name in largest) || size > largest[name]) largest[name] = size
}
END {
  row("operation", "size", "time", "target", "verdict")
  print "|------------------------------------------|----------------|-------------|--------------------------------|------------------------------|"
  bad = 0
  for (i = 1; i <= n; ++i) {
    b = names[i]
    if (failed[b]) { row(op[b], "", "", "", "FAILED (see the log)"); bad = 1; continue }
    if (!(b in smallest)) continue
    for (k = 0; k < 2; ++k) {
      s = k == 0 ? smallest[b] : largest[b]
      if (k == 1 && s == smallest[b]) break
      t = time[b, s]
      tgt = ""; verdict = ""
      if (b == "BM_OpenSeason" && (("BM_CopyMasterWithCp", s) in time)) {
        ratio = t / time["BM_CopyMasterWithCp", s]
        tgt = sprintf("<= 3 x cp (%s)", show(3 * time["BM_CopyMasterWithCp", s]))
        verdict = sprintf("%s (%.1f x cp)", ratio <= 3 ? "met" : "MISSED", ratio)
        if (("BM_CopyMasterWithCpAndSync", s) in time)
          note[s] = sprintf("%.1f x cp+sync", t / time["BM_CopyMasterWithCpAndSync", s])
        if (ratio > 3) bad = 1
      } else if (perItem[b] > 0) {
        each = t / s
        tgt = sprintf("<= %s a %s (%s)", show(perItem[b]), item[b], show(perItem[b] * s))
        verdict = sprintf("%s (%.1f ms a %s)", each <= perItem[b] ? "met" : "MISSED", each, item[b])
        if (each > perItem[b]) bad = 1
      } else if (target[b] > 0 && (s == largest[b] || b != "BM_FanciersWindow" && b != "BM_RecapWindow")) {
        tgt = sprintf("< %s", show(target[b]))
        verdict = t < target[b] ? "met" : "MISSED"
        if (t >= target[b]) bad = 1
      } else if (target[b] > 0) {
        tgt = sprintf("< %s at %d", show(target[b]), largest[b])
      }
      row(k == 0 ? op[b] : "", s " " unit[b], show(t), tgt, verdict)
      if (b == "BM_OpenSeason" && (s in note))
        row("", "", "", "", note[s])
    }
    if (largest[b] != smallest[b]) {
      sizeRatio = largest[b] / smallest[b]
      growth = time[b, largest[b]] / time[b, smallest[b]]
      # A margin of 15 % for the noise of a shared machine.
      ok = growth <= sizeRatio * 1.15
      if (!ok) bad = 1
      row("", "growth", sprintf("x %.2f", growth), sprintf("<= size x %.2f", sizeRatio),
          ok ? "met" : "MISSED (grows faster)")
    }
  }
  print ""
  print bad ? "Some targets are missed (timings are noisy on a shared machine: run again to confirm)." : "Every target is met."
}'
