#!/usr/bin/env bash
# Sets up, builds and runs Kib's main job on the demo event in examples/demo.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh" build gui
BUILD_DIR="$root/build" "$root/scripts/build.sh" -DKIB_BUILD_TESTS=OFF -DKIB_BUILD_GUI=ON
kib="$root/build/kib"
cfg="$root/examples/demo/demo.cfg"
# The sheets go to the output folder of demo.cfg (Target.DIR, relative to the
# configuration), or beside the configuration when it names none.
outdir="$("$kib" --quiet config show "$cfg" | sed -n 's/^Target\.DIR=//p' | sed 's/  (default)$//' | tr '\\' '/')"
case "$outdir" in
  "") outdir="$root/examples/demo" ;;
  /*) ;;
  *) outdir="$root/examples/demo/$outdir" ;;
esac
mkdir -p "$outdir"
echo "== kib maps examples/demo/demo.cfg"
status=0
"$kib" maps "$cfg" || status=$?
# 1 means the maps were made with warnings.
if [ "$status" -gt 1 ]; then
  exit "$status"
fi
echo "== competition maps and print sheets in $outdir"
ls "$outdir" | grep -E '^(map|prn)-.*\.svg$'
