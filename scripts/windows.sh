#!/usr/bin/env bash
# Builds Kib for 64-bit Windows with MinGW-w64 into build-windows/ (kib.exe,
# kibgen.exe and the tests), runs the Windows tests under Wine, headless, then
# whole runs of kib.exe against the Linux kib (tests/windows/windows_e2e.sh).
# Installs the cross compiler, Wine and GoogleTest's sources when they are
# missing (Debian 12, as root) and builds pugixml from Debian's source package.
# Usage: windows.sh [extra cmake arguments].
# KIB_WINDOWS_BUILD overrides the folder, KIB_LINUX_BIN the Linux kib compared with.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${KIB_WINDOWS_BUILD:-$root/build-windows}"
toolchain="$root/cmake/mingw-w64.cmake"
deps="$build/deps"
jobs="$(nproc)"

# The cross compiler, Wine and GoogleTest's sources (and what a Linux kib to
# compare with needs).
"$root/scripts/install-deps.sh" build windows

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

# pugixml for Windows (the courses reader), built from Debian's source package of
# the installed libpugixml-dev: Debian builds no MinGW pugixml. The source comes
# through apt with a source list of its own in the build folder (the system's
# sources turned into deb-src), so the system's apt configuration stays as it is.
if [ ! -f "$deps/lib/cmake/pugixml/pugixml-config.cmake" ]; then
  echo "== pugixml for Windows"
  src="$build/pugixml-source"
  rm -rf "$src"
  mkdir -p "$src/lists/partial" "$src/sources.list.d"
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && sed 's/^Types:.*/Types: deb-src/' "$f" >"$src/sources.list.d/$(basename "$f")"
  done
  if [ -f /etc/apt/sources.list ]; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list >"$src/sources.list"
  else
    : >"$src/sources.list"
  fi
  apt_own=(-q -o Dir::Etc::SourceList="$src/sources.list" -o Dir::Etc::SourceParts="$src/sources.list.d"
           -o Dir::State::Lists="$src/lists" -o Debug::NoLocking=1)
  apt-get "${apt_own[@]}" update >/dev/null
  version="$(dpkg-query -W -f='${source:Version}' libpugixml-dev)"
  (cd "$src" && apt-get "${apt_own[@]}" source --download-only "pugixml=$version" >/dev/null 2>&1)
  dpkg-source -x "$src"/pugixml_*.dsc "$src/pugixml" >/dev/null 2>&1
  cmake -S "$src/pugixml" -B "$build/pugixml" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps" -DBUILD_SHARED_LIBS=OFF \
    -DPUGIXML_BUILD_TESTS=OFF >/dev/null
  cmake --build "$build/pugixml" -j"$jobs" >/dev/null
  cmake --install "$build/pugixml" >/dev/null
fi

echo "== building Kib for Windows in $build"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DKIB_WINDOWS_DEPS="$deps" \
  -DCMAKE_BUILD_TYPE=Release -DKIB_BUILD_TESTS=ON -DKIB_BUILD_GUI=OFF -DKIB_BUILD_BENCH=OFF \
  -DKIB_FUZZ=OFF -DKIB_WERROR=ON "$@" >/dev/null
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

# The whole runs of kib.exe compare its sheets with those of the Linux kib: the
# one of the Linux build (build/, which the CI's Linux tests have just made) when
# it is there, else one built here for the purpose.
linux_kib="${KIB_LINUX_BIN:-$root/build/kib}"
if [ ! -x "$linux_kib" ]; then
  echo "== the Linux kib, for comparing the sheets"
  "$root/scripts/install-deps.sh" build
  cmake -S "$root" -B "$build/linux" -DCMAKE_BUILD_TYPE=Release -DKIB_BUILD_TESTS=OFF \
    -DKIB_BUILD_GUI=OFF >/dev/null
  cmake --build "$build/linux" -j"$jobs" --target kib
  linux_kib="$build/linux/kib"
fi
echo "== whole runs of kib.exe under Wine"
bash "$root/tests/windows/windows_e2e.sh" "$build" "$linux_kib" || status=$?
wineserver -w || true
exit "$status"
