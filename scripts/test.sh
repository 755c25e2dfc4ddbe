#!/usr/bin/env bash
# Sets up, builds and runs every test of Kib. Exits non-zero when a test fails.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh" build test gui
# A compiler warning fails the build here (-DKIB_WERROR=ON).
BUILD_DIR="$root/build" "$root/scripts/build.sh" -DKIB_BUILD_TESTS=ON -DKIB_BUILD_GUI=ON -DKIB_WERROR=ON
ctest --test-dir "$root/build" --output-on-failure -j"$(nproc)"

# The readers of organisers' files (configuration, map exports, courses files) once
# more under AddressSanitizer and UndefinedBehaviorSanitizer, fed malformed inputs.
echo "== configuration and map input tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S "$root" -B "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DKIB_SANITIZE=ON -DKIB_WERROR=ON \
  -DKIB_BUILD_GUI=OFF -DKIB_BUILD_TESTS=ON >/dev/null
cmake --build "$root/build-asan" -j"$(nproc)" --target test_config test_map_input
for t in test_config test_map_input; do
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "$root/build-asan/tests/$t" --gtest_brief=1
done
