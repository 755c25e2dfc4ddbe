#!/usr/bin/env bash
# Installs, on Debian 12 as root, the packages Kib needs to build, test and run
# that are not installed yet. Usage: install-deps.sh [build|test|gui|package|convert|bench|windows]...
set -euo pipefail

packages=(build-essential cmake pkg-config libcli11-dev librsvg2-dev libcairo2-dev libqpdf-dev)
for what in "$@"; do
  case "$what" in
    # The core's built-in converter: librsvg and cairo draw the sheets, libpng
    # writes PNG files, FreeType gives font metrics.
    # pugixml reads the courses files.
    build) packages+=(libpng-dev libfreetype-dev libpugixml-dev) ;;
    # libxml2 (also brought by librsvg2-dev) lets the drawing fuzzer parse sheets as librsvg does.
    test) packages+=(libgtest-dev libgmock-dev librsvg2-bin netpbm inkscape fonts-dejavu-core
                     poppler-utils jq chromium strace clang libclang-rt-14-dev clang-format
                     libxml2-dev) ;;
    bench) packages+=(libbenchmark-dev time) ;;
    # The Debian package: manual pages from --help, Depends from dpkg-shlibdeps,
    # and the tools that try the installed package.
    package) packages+=(help2man dpkg-dev file man-db) ;;
    convert) packages+=(inkscape) ;; # the raster Make commands at run time
    gui) packages+=(qt6-base-dev qt6-svg-dev libgl-dev xvfb xauth) ;;
    # The Windows build (MinGW-w64), its tests under Wine, GoogleTest's sources.
    # pugixml's Windows build is made from Debian's source package (dpkg-source).
    windows) packages+=(g++-mingw-w64-x86-64 wine wine64 googletest dpkg-dev) ;;
    *) echo "install-deps.sh: unknown group '$what'" >&2; exit 64 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps.sh: these packages are missing and installing them needs root: ${missing[*]}" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
