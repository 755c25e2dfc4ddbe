#!/usr/bin/env bash
# Builds the Debian package of Kib, kib_VERSION_amd64.deb, in BUILD_DIR (default:
# build-package, a Release build without tests): kib and kib-gui, their manual
# pages, bash and zsh completion, the desktop entry, the file type of event
# configurations and the icon. Install it with `sudo apt-get install ./kib_*.deb`.
# Extra arguments go to cmake.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build-package}"
"$root/scripts/install-deps.sh" build gui package
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DKIB_BUILD_TESTS=OFF "$@" >/dev/null
fi
cmake -S "$root" -B "$build" -DKIB_BUILD_GUI=ON "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
rm -f "$build"/kib_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
ls "$build"/kib_*.deb
