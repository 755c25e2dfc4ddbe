# Sourced by the benchmark scripts: the Release build of kib and kibgen in BUILD_DIR
# (made when missing) and the one large generated event they all measure.
# Sets root, build, kib, kibgen, work (a temporary folder removed on exit),
# stations and tasks; bench_event FOLDER writes the event with bench.cfg into FOLDER.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build-bench}"
kib="$build/kib"
kibgen="$build/tools/kibgen/kibgen"
if [ ! -x "$kib" ] || [ ! -x "$kibgen" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DKIB_BUILD_TESTS=OFF >/dev/null
  cmake --build "$build" --target kib kibgen -j2 >/dev/null
fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
stations=8
tasks=6

# 8 stations of 6 tasks, map exports above 5 MB each.
bench_event() {
  "$kibgen" --seed 11 --out "$1" --event Bench --stations "$stations" --tasks "$tasks" \
    --objects 16000 --extent 1300x870 --cfg bench.cfg --quiet
}
