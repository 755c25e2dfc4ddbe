#!/usr/bin/env bash
# Fails when a C++ file of the repository differs from what clang-format makes of
# it with the project's .clang-format; names every such file. With --fix, formats
# them instead.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
  exit 0
fi
differing=()
for f in "${files[@]}"; do
  if ! clang-format --dry-run --Werror "$f" >/dev/null 2>&1; then
    differing+=("$f")
  fi
done
if [ "${#differing[@]}" -gt 0 ]; then
  echo "check-format: these files differ from clang-format's layout (scripts/check-format.sh --fix):" >&2
  printf '  %s\n' "${differing[@]}" >&2
  exit 1
fi
echo "check-format: ${#files[@]} files formatted as .clang-format says"
