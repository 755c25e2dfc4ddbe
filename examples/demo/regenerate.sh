#!/usr/bin/env bash
# Regenerates the demo event with kibgen: the four station maps Demo.S1.svg .. Demo.S4.svg,
# the courses file Demo.Courses.xml, the configuration demo.cfg and, in expected.txt, what
# the generator intended (tasks, flags, answers and the rotation the analysis must find).
# Set KIBGEN to a built kibgen, or the script builds one into build/.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
kibgen="${KIBGEN:-$root/build/tools/kibgen/kibgen}"
if [ ! -x "$kibgen" ]; then
    cmake -S "$root" -B "$root/build" >/dev/null
    cmake --build "$root/build" --target kibgen -j2
fi
"$kibgen" --seed 7 --out "$here" --event Demo --stations 4 --tasks 5,3,6,4 --flags 6,4,5,6 \
    --share 2 --angle 3 --view 20,100,300,185 --cfg demo.cfg --reduce-size >"$here/expected.txt"
