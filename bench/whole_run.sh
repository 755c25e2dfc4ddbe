#!/usr/bin/env bash
# Whole-run benchmark: makes every competition sheet of a large generated event with
# `kib maps` (8 stations of 6 tasks, map exports above 5 MB each, made by kibgen) and
# prints the output rate next to the rate of copying the same bytes with cp.
#
# Usage: bench/whole_run.sh [BUILD_DIR]
# BUILD_DIR (default build-bench) is configured as a Release build and kib and kibgen
# are built in it when they are missing there.
set -euo pipefail
# shellcheck source=bench_event.sh
source "$(dirname "$0")/bench_event.sh"
event="$work/event"
bench_event "$event"
cfg="$event/bench.cfg"
# The sheets go to a folder of their own, so that it can be copied alone.
printf '\r\n[Target]\r\nDIR=out\r\n' >>"$cfg"
mkdir "$event/out"

min_map=$((5 * 1024 * 1024))
map_bytes=0
for map in "$event"/Bench.S*.svg; do
  size=$(stat -c %s "$map")
  if [ "$size" -lt "$min_map" ]; then
    echo "whole_run.sh: $map has only $size bytes" >&2
    exit 1
  fi
  map_bytes=$((map_bytes + size))
done

now() { date +%s.%N; }
seconds() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", b - a }'; }
rate() { awk -v n="$1" -v s="$2" 'BEGIN { if (s > 0) printf "%.1f", n / s / 1e6; else print "-" }'; }
folder_bytes() { find "$1" -type f -printf '%s\n' | awk '{ n += $1 } END { print n + 0 }'; }

run_maps() {
  local status=0
  "$kib" --quiet maps "$cfg" 2>/dev/null || status=$?
  if [ "$status" -gt 1 ]; then
    echo "whole_run.sh: kib maps failed with status $status" >&2
    exit "$status"
  fi
}

t0=$(now)
run_maps
t1=$(now)
run_maps # nothing changed: every sheet is compared and left alone
t2=$(now)
cp -r "$event/out" "$work/copy"
sync
t3=$(now)

sheets=$(find "$event/out" -type f -name '*.svg' | wc -l)
out_bytes=$(folder_bytes "$event/out")
first=$(seconds "$t0" "$t1")
again=$(seconds "$t1" "$t2")
copy=$(seconds "$t2" "$t3")

printf 'event:        %d stations x %d tasks, map exports %s MB in all\n' "$stations" "$tasks" \
  "$(awk -v n="$map_bytes" 'BEGIN { printf "%.1f", n / 1e6 }')"
printf 'kib maps:     %d sheets, %s MB written in %s s = %s MB/s\n' "$sheets" \
  "$(awk -v n="$out_bytes" 'BEGIN { printf "%.1f", n / 1e6 }')" "$first" "$(rate "$out_bytes" "$first")"
printf 'again:        nothing changed, %s s = %s MB/s compared\n' "$again" "$(rate "$out_bytes" "$again")"
printf 'cp -r output: %s s = %s MB/s\n' "$copy" "$(rate "$out_bytes" "$copy")"
