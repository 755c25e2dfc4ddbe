#!/usr/bin/env bash
# Sets up, builds and runs Kib's main job on the demo event in examples/demo.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh" build gui
BUILD_DIR="$root/build" "$root/scripts/build.sh" -DKIB_BUILD_TESTS=OFF -DKIB_BUILD_GUI=ON
kib="$root/build/kib"
cfg="$root/examples/demo/demo.cfg"
echo "== kib config show examples/demo/demo.cfg"
"$kib" config show "$cfg"
