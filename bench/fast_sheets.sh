#!/usr/bin/env bash
# Fast sheets benchmark: on one generated event (8 stations of 6 tasks, map exports above
# 5 MB each, made by kibgen), side by side in one run:
#   kib maps with the whole map on every sheet and trimmed (Target.REDUCESIZE=Yes),
#   cp -r of the untrimmed output,
#   kib images --format pdf through Inkscape and through the built-in converter, on the
#   untrimmed and on the trimmed sheets,
# printing the time, the peak memory (largest resident set of kib and the programs it
# ran) and the bytes of each, the ratios and whether the targets are met.
#
# Usage: bench/fast_sheets.sh [BUILD_DIR]
# BUILD_DIR (default build-bench) is configured as a Release build and kib and kibgen are
# built in it when they are missing there. Needs inkscape and GNU time (/usr/bin/time).
# BENCH_STATIONS=LIST (for example 1-2) converts only these stations in every images run,
# for a quicker look; the ratios stay fair, the targets are meant for the whole event.
set -euo pipefail
# shellcheck source=bench_event.sh
source "$(dirname "$0")/bench_event.sh"
for tool in /usr/bin/time inkscape; do
  if ! command -v "$tool" >/dev/null; then
    echo "fast_sheets.sh: $tool is needed" >&2
    exit 1
  fi
done

full="$work/full"
trim="$work/trim"
bench_event "$full"
cp -r "$full" "$trim"
printf '\r\n[Target]\r\nDIR=out\r\n' >>"$full/bench.cfg"
printf '\r\n[Target]\r\nDIR=out\r\nREDUCESIZE=Yes\r\n' >>"$trim/bench.cfg"
mkdir "$full/out" "$trim/out"

map_bytes=0
for map in "$full"/Bench.S*.svg; do
  size=$(stat -c %s "$map")
  if [ "$size" -lt $((5 * 1024 * 1024)) ]; then
    echo "fast_sheets.sh: $map has only $size bytes" >&2
    exit 1
  fi
  map_bytes=$((map_bytes + size))
done

folder_bytes() { find "$1" -type f -name "$2" -printf '%s\n' | awk '{ n += $1 } END { print n + 0 }'; }
mb() { awk -v n="$1" 'BEGIN { printf "%.1f", n / 1e6 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.1f", a / b; else print "-" }'; }


stations_option=()
if [ -n "${BENCH_STATIONS:-}" ]; then
  stations_option=(--stations "$BENCH_STATIONS")
fi
# kib images on sheets made before (their SVG stage finds every sheet unchanged), with
# every converted file removed first so that each run converts all of them.
images() {
  local event="$1" converter="$2"
  rm -f "$event"/out/*.pdf
  measure "$kib" --quiet images "$event/bench.cfg" --format pdf --converter "$converter" \
    "${stations_option[@]}"
}

measure "$kib" --quiet maps "$full/bench.cfg"
maps_full=$seconds maps_full_peak=$peak
measure "$kib" --quiet maps "$trim/bench.cfg"
maps_trim=$seconds maps_trim_peak=$peak
bytes_full=$(folder_bytes "$full/out" '*.svg')
bytes_trim=$(folder_bytes "$trim/out" '*.svg')
sheets=$(find "$full/out" -name '*.svg' | wc -l)
start=$(date +%s.%N)
cp -r "$full/out" "$work/copy"
sync
copy=$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { printf "%.2f", b - a }')

images "$full" inkscape
ink_full=$seconds ink_full_peak=$peak
pdfs=$(find "$full/out" -name '*.pdf' | wc -l)
images "$full" builtin
bi_full=$seconds bi_full_peak=$peak
images "$trim" inkscape
ink_trim=$seconds ink_trim_peak=$peak
images "$trim" builtin
bi_trim=$seconds bi_trim_peak=$peak
pdf_bytes=$(folder_bytes "$trim/out" '*.pdf')

printf 'event: %d stations x %d tasks, map exports %s MB in all\n' "$stations" "$tasks" \
  "$(mb "$map_bytes")"
printf '\n%-44s %9s %9s %10s\n' "" "seconds" "peak MB" "output MB"
row() { printf '%-44s %9s %9s %10s\n' "$@"; }
row "kib maps, whole map ($sheets sheets)" "$maps_full" "$maps_full_peak" "$(mb "$bytes_full")"
row "kib maps, trimmed" "$maps_trim" "$maps_trim_peak" "$(mb "$bytes_trim")"
row "cp -r of the whole-map sheets" "$copy" "-" "$(mb "$bytes_full")"
row "kib images pdf, whole map, Inkscape ($pdfs)" "$ink_full" "$ink_full_peak" "-"
row "kib images pdf, whole map, built-in" "$bi_full" "$bi_full_peak" "-"
row "kib images pdf, trimmed, Inkscape" "$ink_trim" "$ink_trim_peak" "-"
row "kib images pdf, trimmed, built-in" "$bi_trim" "$bi_trim_peak" "$(mb "$pdf_bytes")"

trimmed_share=$(awk -v t="$bytes_trim" -v f="$bytes_full" 'BEGIN { printf "%.2f", 100 * t / f }')
speed_default=$(ratio "$ink_full" "$bi_trim")
speed_inkscape=$(ratio "$ink_trim" "$bi_trim")
peak_most=$(printf '%s\n' "$maps_trim_peak" "$bi_trim_peak" | sort -n | tail -1)
verdict() { awk -v ok="$1" 'BEGIN { print (ok ? "met" : "NOT MET") }'; }
printf '\nratios\n'
printf '  trimmed kib maps output / whole-map output:       %s %%   (target <= 2 %%: %s)\n' \
  "$trimmed_share" "$(verdict "$(awk -v s="$trimmed_share" 'BEGIN { print (s <= 2) }')")"
printf '  kib maps whole map / trimmed (time):             %sx\n' "$(ratio "$maps_full" "$maps_trim")"
printf '  kib maps whole map / cp -r of its output:        %sx\n' "$(ratio "$maps_full" "$copy")"
printf '  images: today'\''s default / trimmed built-in:      %sx  (target >= 100x: %s)\n' \
  "$speed_default" "$(verdict "$(awk -v s="$speed_default" 'BEGIN { print (s >= 100) }')")"
printf '  images: trimmed Inkscape / trimmed built-in:      %sx  (target >= 5x: %s)\n' \
  "$speed_inkscape" "$(verdict "$(awk -v s="$speed_inkscape" 'BEGIN { print (s >= 5) }')")"
printf '  images: today'\''s default / trimmed Inkscape:      %sx\n' "$(ratio "$ink_full" "$ink_trim")"
printf '  images: whole map, Inkscape / built-in:           %sx\n' "$(ratio "$ink_full" "$bi_full")"
printf '  peak memory of the trimmed runs:                  %s MB (target < 100 MB: %s)\n' \
  "$peak_most" "$(verdict "$(awk -v p="$peak_most" 'BEGIN { print (p < 100) }')")"
