#!/usr/bin/env bash
# Fails when code outside the platform layer (src/platform) asks which system it
# is built for, or when <windows.h> is included anywhere but in the Windows
# implementation files of the platform layer (src/platform/win32/*.cpp): the
# rest of Kib is the same on every system.
set -euo pipefail
root="${1:?usage: check_platform_seam.sh SOURCE_DIR}"
bad=0
macros='^[[:space:]]*#[[:space:]]*(if|ifdef|ifndef|elif).*(_WIN32|_WIN64|__linux__|__unix__|__APPLE__|_MSC_VER|__MINGW32__|__MINGW64__|__CYGWIN__|_POSIX_VERSION)'
if grep -rnE "$macros" "$root/src" "$root/tests" "$root/tools" "$root/bench" \
    --include='*.h' --include='*.cpp' | grep -v "^$root/src/platform/"; then
    echo "^ only src/platform may test which system it is built for" >&2
    bad=1
fi
if grep -rnE '#[[:space:]]*include[[:space:]]*[<"]windows\.h[>"]' "$root/src" "$root/tests" \
    "$root/tools" "$root/bench" --include='*.h' --include='*.cpp' |
    grep -vE "^$root/src/platform/win32/[^/]+\.cpp:"; then
    echo "^ <windows.h> belongs only in src/platform/win32/*.cpp" >&2
    bad=1
fi
exit "$bad"
