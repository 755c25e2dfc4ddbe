#!/usr/bin/env bash
# Builds Kib for 64-bit Windows with MinGW-w64 into build-windows/ and runs the
# Windows tests under Wine, headless. Installs the cross compiler, Wine and
# GoogleTest's sources when they are missing (Debian 12, as root).
# Usage: windows.sh [extra cmake arguments]. KIB_WINDOWS_BUILD overrides the folder.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${KIB_WINDOWS_BUILD:-$root/build-windows}"
toolchain="$root/cmake/mingw-w64.cmake"
deps="$build/deps"
jobs="$(nproc)"

packages=(cmake g++-mingw-w64-x86-64 wine wine64 googletest libcli11-dev)
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "windows.sh: these packages are missing and installing them needs root: ${missing[*]}" >&2
    exit 1
  fi
  echo "== installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# GoogleTest for Windows, from Debian's sources, built once per build folder.
if [ ! -f "$deps/lib/cmake/GTest/GTestConfig.cmake" ]; then
  echo "== GoogleTest for Windows"
  cmake -S /usr/src/googletest -B "$build/googletest" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps" -Dgtest_disable_pthreads=ON \
    >/dev/null
  cmake --build "$build/googletest" -j"$jobs" >/dev/null
  cmake --install "$build/googletest" >/dev/null
fi

# CLI11 is made of headers only: Debian's, with its CMake package, serve Windows too.
if [ ! -f "$deps/lib/cmake/CLI11/CLI11Config.cmake" ]; then
  mkdir -p "$deps/include" "$deps/lib/cmake"
  cp -r /usr/include/CLI "$deps/include/"
  cp -r /usr/share/cmake/CLI11 "$deps/lib/cmake/"
fi

echo "== building Kib for Windows in $build"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DKIB_WINDOWS_DEPS="$deps" \
  -DCMAKE_BUILD_TYPE=Release -DKIB_BUILD_TESTS=ON -DKIB_BUILD_GUI=OFF -DKIB_BUILD_BENCH=OFF \
  -DKIB_FUZZ=OFF "$@" >/dev/null
cmake --build "$build" -j"$jobs"

# Wine: a prefix of its own inside the build folder, 64-bit only, no window
# system, no downloads of Mono or Gecko, no debugging noise.
export WINEPREFIX="$build/wineprefix" WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "== preparing the Wine prefix"
  wineboot --init >/dev/null 2>&1 || true
fi

echo "== Windows tests under Wine"
status=0
ctest --test-dir "$build" --output-on-failure || status=$?
wineserver -w || true
exit "$status"
