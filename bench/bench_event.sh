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

# Runs a command under GNU time; sets seconds and peak (MB) of the run. A status above 1
# (an error run) ends the benchmark with the command's errors.
measure() {
  local stats="$work/time.txt" status=0
  /usr/bin/time -f '%e %M' -o "$stats" "$@" >/dev/null 2>"$work/stderr.txt" || status=$?
  if [ "$status" -gt 1 ]; then
    echo "$(basename "$0"): '$*' failed with status $status" >&2
    cat "$work/stderr.txt" >&2
    exit 1
  fi
  read -r seconds peak_kb <"$stats"
  peak=$(awk -v k="$peak_kb" 'BEGIN { printf "%.0f", k / 1024 }')
}
