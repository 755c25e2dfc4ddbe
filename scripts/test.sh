#!/usr/bin/env bash
# Sets up, builds and runs every test of Kib. Exits non-zero when a test fails.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh" build test gui
BUILD_DIR="$root/build" "$root/scripts/build.sh" -DKIB_BUILD_TESTS=ON -DKIB_BUILD_GUI=ON
ctest --test-dir "$root/build" --output-on-failure -j"$(nproc)"
