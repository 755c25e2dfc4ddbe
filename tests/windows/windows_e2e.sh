#!/usr/bin/env bash
# Whole runs of kib.exe under Wine on an event that kibgen.exe makes:
#  1. `kib.exe maps` with the configuration named by a backslash path writes
#     sheets byte-identical to those of the Linux kib on the same event;
#  2. after one setting changed, a second run replaces exactly the changed sheets;
#  3. `kib.exe new EXPORTS -o cfg\made.cfg` writes templates relative to the
#     configuration's folder, which `kib.exe analyse cfg\made.cfg` reads;
#  4. `kib.exe images --format pdf` converts and renames every sheet with a
#     stand-in for Inkscape's command-line program (tests/standin).
# Usage: windows_e2e.sh BUILD_WINDOWS LINUX_KIB. Wine's settings (WINEPREFIX,
# WINEDEBUG, ...) come from the caller; Linux's root is Wine's drive Z:.
set -uo pipefail
build="$(cd "${1:?usage: windows_e2e.sh BUILD_WINDOWS LINUX_KIB}" && pwd)"
linux_kib="${2:?usage: windows_e2e.sh BUILD_WINDOWS LINUX_KIB}"
linux_kib="$(cd "$(dirname "$linux_kib")" && pwd)/$(basename "$linux_kib")"
kib_exe="$build/kib.exe"
work="$build/e2e"
failures=0

fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}
# A Linux path as Windows programs under Wine name it: Z:\...
winpath() { printf 'Z:%s' "$(printf '%s' "$1" | tr '/' '\\')"; }
# The sheets of a folder (SVG files Kib wrote), one name a line.
sheets() { (cd "$1" && ls -1 map-*.svg prn-*.svg sol-*.svg 2>/dev/null | sort); }

rm -rf "$work"
mkdir -p "$work"
cd "$work" || exit 1

echo "-- kibgen.exe makes the event"
if ! wine "$build/tools/kibgen/kibgen.exe" --seed 11 --out exports --event Relay --stations 4 \
  --tasks 5,3,6,4 --flags 6,4,5,6 --share 2 --cfg relay.cfg >kibgen.log 2>&1 ||
  [ ! -f exports/relay.cfg ] || [ ! -f exports/Relay.S4.svg ]; then
  fail "kibgen.exe made no event"
  exit 1
fi
cp -r exports linux
cp -r exports windows

echo "-- maps: kib.exe with a backslash path against the Linux kib"
"$linux_kib" --yes maps linux/relay.cfg >linux.log 2>&1 || fail "the Linux kib failed (linux.log)"
wine "$kib_exe" --yes maps "$(winpath "$work/windows/relay.cfg")" >windows.log 2>&1
status=$?
[ "$status" -eq 0 ] || fail "kib.exe maps ended with $status (windows.log)"
if [ -z "$(sheets windows)" ] || [ "$(sheets windows)" != "$(sheets linux)" ]; then
  fail "kib.exe wrote other sheets than the Linux kib"
fi
count=0
for sheet in $(sheets linux); do
  cmp -s "linux/$sheet" "windows/$sheet" || fail "$sheet differs from the Linux kib's"
  count=$((count + 1))
done
echo "   $count sheets compared"

echo "-- maps again after one setting changed: the changed sheets are replaced"
for side in linux windows; do
  (cd "$side" && for s in $(sheets .); do md5sum "$s"; done) >"$side.before"
  printf '\r\n[Station 3]\r\nMINANGLE=90\r\n' >>"$side/relay.cfg"
done
"$linux_kib" --yes maps linux/relay.cfg >linux2.log 2>&1 || fail "the Linux kib failed (linux2.log)"
wine "$kib_exe" --yes maps "$(winpath "$work/windows/relay.cfg")" >windows2.log 2>&1
status=$?
[ "$status" -eq 0 ] || fail "kib.exe maps ended with $status after the change (windows2.log)"
grep -q "Renaming map" windows2.log && fail "a sheet could not replace the old one (windows2.log)"
changed=0
for sheet in $(sheets linux); do
  cmp -s "linux/$sheet" "windows/$sheet" || fail "$sheet differs from the Linux kib's after the change"
  grep -q "$(cd windows && md5sum "$sheet")" windows.before || changed=$((changed + 1))
done
[ "$changed" -gt 0 ] || fail "no sheet changed"
echo "   $changed sheets replaced"
ls windows | grep -q -- '-tmp' && fail "temporary files left in windows/"

echo "-- new: relative templates from a configuration in another folder"
mkdir -p made/cfg
cp exports/Relay.* made/
mkdir -p made/exp && mv made/Relay.* made/exp/
(cd made && wine "$kib_exe" new exp -o 'cfg\made.cfg' >../new.log 2>&1) ||
  fail "kib.exe new failed (new.log)"
if [ ! -f made/cfg/made.cfg ]; then
  fail "kib.exe new wrote no cfg\\made.cfg"
else
  grep -q 'MAP=\.\.\\exp\\' made/cfg/made.cfg || fail "MAP is not relative: $(grep MAP= made/cfg/made.cfg)"
  grep -q 'COURSES=\.\.\\exp\\' made/cfg/made.cfg ||
    fail "COURSES is not relative: $(grep COURSES= made/cfg/made.cfg)"
  grep -qi 'Z:' made/cfg/made.cfg && fail "made.cfg holds an absolute path"
  # Warnings of the analysis (exit status 1) are the event's, not the reading's.
  (cd made && wine "$kib_exe" analyse 'cfg\made.cfg' >../analyse.log 2>&1)
  status=$?
  [ "$status" -le 1 ] || fail "kib.exe analyse cfg\\made.cfg ended with $status (analyse.log)"
  grep -q '^  Station 4: 4 tasks' analyse.log || fail "kib.exe analyse did not read station 4"
fi

echo "-- images: PDF files by a stand-in for Inkscape's command-line program"
mkdir -p inkscape/bin
cp "$build/tests/platform/kib_standin.exe" inkscape/bin/inkscape.com
printf '\r\n[System]\r\nINKSCAPEPATH=%s\r\n' "$(winpath "$work/inkscape")" >>windows/relay.cfg
wine "$kib_exe" --yes images "$(winpath "$work/windows/relay.cfg")" --format pdf >images.log 2>&1
status=$?
[ "$status" -eq 0 ] || fail "kib.exe images ended with $status (images.log)"
called=$(grep -c '^Calling .*inkscape.com' images.log)
pdfs=$(cd windows && ls -1 *.pdf 2>/dev/null | wc -l)
[ "$pdfs" -gt 0 ] || fail "no PDF file was made"
[ "$called" -eq "$pdfs" ] || fail "$called conversions for $pdfs PDF files"
for pdf in windows/*.pdf; do
  [ -f "${pdf%.pdf}.svg" ] || fail "$pdf has no sheet"
  head -c 5 "$pdf" | grep -q '%PDF-' || fail "$pdf is no PDF file"
done
ls windows | grep -q -- '-tmp' && fail "temporary files left in windows/"
echo "   $pdfs sheets converted"

if [ "$failures" -gt 0 ]; then
  echo "windows_e2e.sh: $failures failures; the logs are in $work" >&2
  exit 1
fi
echo "windows_e2e.sh: every check passed"
