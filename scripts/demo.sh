#!/usr/bin/env bash
# Sets up, builds and runs Kib's main job on the demo event. The demo's inputs
# (examples/demo: the OCAD exports and demo.cfg) are copied to out/demo/, outside
# the sources, and every sheet, converted file and stamp file is written there.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh" build gui convert
BUILD_DIR="$root/build" "$root/scripts/build.sh" -DKIB_BUILD_TESTS=OFF -DKIB_BUILD_GUI=ON
kib="$root/build/kib"
work="$root/out/demo"
mkdir -p "$work"
cp "$root"/examples/demo/demo.cfg "$root"/examples/demo/Demo.* "$work/"
cfg="$work/demo.cfg"
# The sheets go to the output folder of demo.cfg (Target.DIR, relative to the
# configuration), or beside the configuration when it names none.
outdir="$("$kib" --quiet config show "$cfg" | sed -n 's/^Target\.DIR=//p' | sed 's/  (default)$//' | tr '\\' '/')"
case "$outdir" in
  "") outdir="$work" ;;
  /*) ;;
  *) outdir="$work/$outdir" ;;
esac
# Runs one kib command on the demo; 1 means it was done with warnings.
run_kib() {
  echo "== kib $1 out/demo/demo.cfg${2:+ ${*:2}}"
  local status=0
  "$kib" "$1" "$cfg" "${@:2}" || status=$?
  if [ "$status" -gt 1 ]; then
    exit "$status"
  fi
}
run_kib maps
run_kib images --format pdf
run_kib solutions
run_kib solution-images --format pdf
echo "== competition maps, print sheets and solution sheets in $outdir"
ls "$outdir" | grep -E '^(map|prn|sol)-.*\.(svg|pdf)$'
