#!/usr/bin/env bash
# Sets up, builds and runs every test of Kib. Exits non-zero when a test fails.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh" build test gui package
# A C++ file that clang-format would change fails the run, before anything builds.
"$root/scripts/check-format.sh"
# A compiler warning fails the build here (-DKIB_WERROR=ON).
BUILD_DIR="$root/build" "$root/scripts/build.sh" -DKIB_BUILD_TESTS=ON -DKIB_BUILD_GUI=ON -DKIB_WERROR=ON
ctest --test-dir "$root/build" --output-on-failure -j"$(nproc)"

# The Debian package from the same build, installed into this machine, tried
# (programs, manual pages, completion, desktop entry, file type, a generated
# event made by the installed kib) and removed again.
echo "== the Debian package"
BUILD_DIR="$root/build" "$root/scripts/package.sh"
"$root/scripts/check-package.sh" "$(ls "$root"/build/kib_*_amd64.deb)" "$root/build/tools/kibgen/kibgen"

# The readers of organisers' files (configuration, map exports, courses files) and
# the sheet layout with its size checks once more under AddressSanitizer and
# UndefinedBehaviorSanitizer, fed malformed inputs and huge sizes.
echo "== configuration, map input and sheet tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S "$root" -B "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DKIB_SANITIZE=ON -DKIB_WERROR=ON \
  -DKIB_BUILD_GUI=OFF -DKIB_BUILD_TESTS=ON >/dev/null
cmake --build "$root/build-asan" -j"$(nproc)" --target test_config test_map_input test_sheet
for t in test_config test_map_input test_sheet; do
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "$root/build-asan/tests/$t" --gtest_brief=1
done
# test_fuzz: the kept fuzz inputs under the sanitizers too.
cmake --build "$root/build-asan" -j"$(nproc)" --target test_fuzz
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  LSAN_OPTIONS="suppressions=$root/tests/fuzz/lsan.supp" \
  "$root/build-asan/tests/fuzz/test_fuzz" --gtest_brief=1

# The readers fuzzed for a minute each (clang, libFuzzer); any finding fails.
echo "== fuzzing the configuration, map and courses readers"
KIBGEN="$root/build/tools/kibgen/kibgen" "$root/scripts/fuzz.sh" 60
