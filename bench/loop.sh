#!/usr/bin/env bash
# Loop benchmark: an organiser's loop on one generated event (8 stations of 6 tasks, map
# exports above 5 MB each, made by kibgen; trimmed sheets, Target.REDUCESIZE=Yes), every
# step timed in one run and set against its baseline from the same run:
#   kib maps: first run; unchanged re-run; one map export changed; one setting changed
#     (each against the first run);
#   kib images --format pdf with the built-in converter against Inkscape (the converter of a
#     configuration that names none), when Inkscape is installed;
#   kib images --format png with the built-in converter; convert_bench's conversions of the
#     same sheets: libpng's own encoding one sheet at a time against the converter's
#     encoding on the workers the memory bound allows (target: at least 1.7 times faster);
#   kib proof: first run against kib maps + kib solutions of the first run (target: at most
#     2 times), second run against the first.
# It prints the seconds and the peak memory (largest resident set, GNU time) of each step,
# the ratios and whether the targets are met (every trimmed run below 100 MB).
#
# Usage: bench/loop.sh [BUILD_DIR]
# BUILD_DIR (default build-bench) is configured as a Release build and kib, kibgen and
# convert_bench are built in it when they are missing. Needs GNU time (/usr/bin/time) and
# Google Benchmark (libbenchmark-dev); Inkscape for the PDF baseline (skipped without it).
# On a machine busy with other work the workers gain less: the ratios of one run are
# comparable, the seconds of two runs are not.
set -euo pipefail
# shellcheck source=bench_event.sh
source "$(dirname "$0")/bench_event.sh"
convert_bench="$build/bench/convert_bench"
if [ ! -x "$convert_bench" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DKIB_BUILD_BENCH=ON >/dev/null
  cmake --build "$build" --target convert_bench -j2 >/dev/null
fi
if ! command -v /usr/bin/time >/dev/null; then
  echo "loop.sh: GNU time (/usr/bin/time) is needed" >&2
  exit 1
fi

event="$work/event"
bench_event "$event"
printf '\r\n[Target]\r\nDIR=out\r\nREDUCESIZE=Yes\r\n' >>"$event/bench.cfg"
mkdir "$event/out"
cfg="$event/bench.cfg"

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }
verdict() { awk -v ok="$1" 'BEGIN { print (ok ? "met" : "NOT MET") }'; }

# Runs kib with the arguments under GNU time (measure); also keeps the run's peak.
measure_kib() {
  measure "$kib" --quiet --yes "$@"
  peaks+=("$peak")
}
peaks=()

printf '%-52s %9s %9s %9s  %s\n' "" "seconds" "peak MB" "ratio" "against"
row() { printf '%-52s %9s %9s %9s  %s\n' "$@"; }

measure_kib maps "$cfg"
first=$seconds
row "kib maps, first run" "$first" "$peak" "" ""
measure_kib maps "$cfg"
rerun=$seconds
row "kib maps, unchanged re-run" "$rerun" "$peak" "$(ratio "$rerun" "$first")" "first run"
# One map export changed: a colour of station 3's map.
sed -i '0,/rgb(255,221,154)/s//rgb(255,221,155)/' "$event/Bench.S3.svg"
measure_kib maps "$cfg"
map_changed=$seconds
row "kib maps, one map changed" "$map_changed" "$peak" "$(ratio "$map_changed" "$first")" \
  "first run"
# One setting changed: the title on every competition sheet.
sed -i 's/^TITLE1=.*/TITLE1=Bench, changed/' "$cfg"
measure_kib maps "$cfg"
setting_changed=$seconds
row "kib maps, one setting changed" "$setting_changed" "$peak" \
  "$(ratio "$setting_changed" "$first")" "first run"
measure_kib solutions "$cfg"
solutions=$seconds
row "kib solutions, first run" "$solutions" "$peak" "" ""

measure_kib images "$cfg" --format pdf --converter builtin
pdf_builtin=$seconds
pdf_builtin_peak=$peak
pdfs=$(find "$event/out" -name '*.pdf' | wc -l)
if command -v inkscape >/dev/null; then
  rm -f "$event"/out/*.pdf
  measure_kib images "$cfg" --format pdf --converter inkscape
  pdf_inkscape=$seconds
  row "kib images pdf, Inkscape ($pdfs sheets)" "$pdf_inkscape" "$peak" "" ""
  row "kib images pdf, built-in" "$pdf_builtin" "$pdf_builtin_peak" \
    "$(ratio "$pdf_builtin" "$pdf_inkscape")" "Inkscape"
else
  row "kib images pdf, built-in ($pdfs sheets)" "$pdf_builtin" "$pdf_builtin_peak" "-" \
    "(no Inkscape)"
fi
measure_kib images "$cfg" --format png --converter builtin
png_builtin=$seconds
row "kib images png, built-in" "$png_builtin" "$peak" "-" "libpng's encoding: below"

# The proof page makes the sheets as maps and solutions do: its first run is measured on
# an output folder of its own, like the first runs of maps and solutions, taking turns
# with them three times (the medians are compared, so that both meet the same load).
median() { printf '%s\n' "$@" | sort -n | sed -n 2p; }
firsts=() proofs=() proof_peaks=()
for _ in 1 2 3; do
  rm -rf "$event/out" && mkdir "$event/out"
  measure_kib maps "$cfg"
  first_maps=$seconds
  measure_kib solutions "$cfg"
  firsts+=("$(awk -v a="$first_maps" -v b="$seconds" 'BEGIN { printf "%.2f", a + b }')")
  rm -rf "$event/out" && mkdir "$event/out"
  measure_kib proof "$cfg"
  proofs+=("$seconds")
  proof_peaks+=("$peak")
done
maps_and_solutions=$(median "${firsts[@]}")
proof_first=$(median "${proofs[@]}")
row "kib maps + kib solutions, first runs (median of 3)" "$maps_and_solutions" "" "" ""
row "kib proof, first run (median of 3)" "$proof_first" "$(median "${proof_peaks[@]}")" \
  "$(ratio "$proof_first" "$maps_and_solutions")" "maps + solutions"
measure_kib proof "$cfg"
proof_second=$seconds
row "kib proof, second run" "$proof_second" "$peak" "$(ratio "$proof_second" "$proof_first")" \
  "proof first run"

printf '\nconversion of the same %s print sheets (convert_bench, wall clock; PNG at 600 dpi)\n' \
  "$pdfs"
"$convert_bench" --benchmark_filter='ConvertSheets' --benchmark_format=csv 2>/dev/null |
  awk -F, 'NR > 1 && $1 ~ /ConvertSheets/ {
    name = $1; gsub(/"/, "", name); sub(/ConvertSheetsBench\//, "", name)
    sub(/\/iterations:.*/, "", name)
    faster = "-"
    for (i = 1; i <= NF; i++) if (header[i] == "x_faster") faster = $i
    printf "  %-40s %9.2f s  %sx faster than its baseline\n", name, $3 / 1000, faster
    if (name == "png_kib") png = faster
  }
  $1 == "name" { for (i = 1; i <= NF; i++) { header[i] = $i; gsub(/"/, "", header[i]) } }
  END { if (png != "") print "PNGFASTER " png }' >"$work/convert.txt"
grep -v '^PNGFASTER' "$work/convert.txt"
png_faster=$(sed -n 's/^PNGFASTER //p' "$work/convert.txt")

peak_most=$(printf '%s\n' "${peaks[@]}" | sort -n | tail -1)
printf '\ntargets\n'
printf '  unchanged re-run / first run:                 %s   (target <= 0.2: %s)\n' \
  "$(ratio "$rerun" "$first")" "$(verdict "$(awk -v r="$(ratio "$rerun" "$first")" 'BEGIN { print (r <= 0.2) }')")"
printf '  proof first run / (maps + solutions):         %s   (target <= 2: %s)\n' \
  "$(ratio "$proof_first" "$maps_and_solutions")" \
  "$(verdict "$(awk -v r="$(ratio "$proof_first" "$maps_and_solutions")" 'BEGIN { print (r <= 2) }')")"
printf '  PNG conversion, libpng'\''s encoding / Kib'\''s:    %sx  (target >= 1.7x: %s)\n' \
  "${png_faster:--}" "$(verdict "$(awk -v r="${png_faster:-0}" 'BEGIN { print (r >= 1.7) }')")"
printf '  peak memory of every run:                     %s MB (target < 100 MB: %s)\n' \
  "$peak_most" "$(verdict "$(awk -v p="$peak_most" 'BEGIN { print (p < 100) }')")"
