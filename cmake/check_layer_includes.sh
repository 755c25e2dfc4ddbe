#!/usr/bin/env bash
# Fails when a source file of a layer includes a header of a layer above it (the
# linker catches upward calls; this catches what a header alone brings, such as
# an inline function or a constant). The programs cli and gui may include every
# layer of the core, but not each other.
set -euo pipefail
src="${1:?usage: check_layer_includes.sh SRC_DIR}"
layers=(platform foundation config map_input sheet app)
bad=0
check() { # folder, then the folders it must not include
    local folder="$1"
    shift
    for above in "$@"; do
        if grep -rn "#include \"${above}/" "$src/$folder" --include='*.h' --include='*.cpp'; then
            echo "^ $folder includes $above, a layer above it" >&2
            bad=1
        fi
    done
}
for ((i = 0; i < ${#layers[@]}; ++i)); do
    check "${layers[i]}" "${layers[@]:i+1}" cli gui
done
check cli gui
check gui cli
exit "$bad"
