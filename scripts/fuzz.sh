#!/usr/bin/env bash
# Builds the libFuzzer harnesses of the readers with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) into build-fuzz and runs each for a bounded time.
# Exits non-zero on any finding. Usage: fuzz.sh [SECONDS per target, default 60]
# Environment: KIBGEN (a built kibgen for more seeds, optional), FUZZ_WORK (the
# folder of the growing corpora, default build-fuzz/corpus), FUZZ_JOBS.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
build="$root/build-fuzz"
work="${FUZZ_WORK:-$build/corpus}"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKIB_FUZZ=ON -DKIB_BUILD_TESTS=OFF -DKIB_BUILD_GUI=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzz_config fuzz_map fuzz_courses fuzz_proof fuzz_drawing

# Seeds: the kept inputs, the demo, the test data and a few kibgen events.
seeds="$build/seeds"
rm -rf "$seeds"
mkdir -p "$seeds"/{config,map,courses,proof,drawing}
for target in config map courses proof drawing; do
  for kind in seeds regressions; do
    if [ -d "$root/tests/fuzz/$kind/$target" ]; then
      cp "$root/tests/fuzz/$kind/$target"/* "$seeds/$target/" 2>/dev/null || true
    fi
  done
done
cp "$root/examples/demo/demo.cfg" "$root/tests/data/e2e/old-keys.cfg" "$seeds/config/"
# (The demo's maps are left to test_fuzz: at 100 kB each they would slow every run down.)
cp "$root/tests/data/map_input/Sprint.S1.svg" "$seeds/map/"
cp "$root/tests/data/map_input/Sprint.S1.svg" "$root/tests/fuzz/seeds/map/hand-made.svg" "$seeds/proof/"
cp "$root/examples/demo/Demo.Courses.xml" "$root/tests/data/map_input/"courses-iof*.xml \
  "$seeds/courses/"
kibgen="${KIBGEN:-$root/build/tools/kibgen/kibgen}"
if [ -x "$kibgen" ]; then
  events="$build/kibgen"
  rm -rf "$events"
  mkdir -p "$events"
  "$kibgen" --quiet --seed 3 --out "$events/a" --event A --stations 2 --tasks 2,1 --flags 3,2 \
    --objects 0 --extent 120x100 --iof 2 --arcs 100 --cfg a.cfg
  "$kibgen" --quiet --seed 5 --out "$events/b" --event B --stations 1 --tasks 3 --flags 6 \
    --objects 20 --extent 120x100 --zoom 2.5 --no-title-row --flag-objects 1 --zero all \
    --angle 1 --cfg b.cfg
  for e in a b; do
    cp "$events/$e/"*.cfg "$seeds/config/$e.cfg"
    cp "$events/$e/"*.Courses.xml "$seeds/courses/$e.xml"
    for m in "$events/$e/"*.svg; do cp "$m" "$seeds/map/$e-$(basename "$m")"; done
  done
fi

status=0
for target in config map courses proof drawing; do
  mkdir -p "$work/$target"
  log="$build/fuzz_$target.log"
  echo "== fuzz_$target for ${seconds} s (log: $log)"
  # -timeout: an input that takes 30 s is a hang (a name template that names itself
  # takes seconds under the sanitizers); findings go to the build folder.
  if (cd "$build" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
      LSAN_OPTIONS="suppressions=$root/tests/fuzz/lsan.supp" \
      "$build/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=30 \
      -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/finding-$target-" \
      "$work/$target" "$seeds/$target") >"$log" 2>&1; then
    grep -E "^(Done|stat::)" "$log" || true
  else
    tail -n 80 "$log" >&2
    echo "fuzz_$target: a finding, see $build/finding-$target-*" >&2
    status=1
  fi
done
exit $status
