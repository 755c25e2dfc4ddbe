#!/usr/bin/env bash
# Installs the Debian package built by scripts/package.sh into this machine (as
# root), tries the installed programs, manual pages, completion, desktop entry
# and file type, and removes the package again, so that the machine is as before.
# Usage: check-package.sh PACKAGE.deb KIBGEN
set -euo pipefail
deb="$(realpath "$1")"
kibgen="$2"
fail() { echo "check-package.sh: $*" >&2; exit 1; }

dpkg-deb -I "$deb" | grep -E '^ Depends: .*libqt6widgets6' || fail "no Depends from dpkg-shlibdeps"
if dpkg-query -W -f='${Status}' kib 2>/dev/null | grep -q "install ok installed"; then
  fail "a kib package is installed already; remove it first"
fi
export DEBIAN_FRONTEND=noninteractive
apt-get install -y -q "$deb" >/dev/null
trap 'apt-get remove -y -q kib >/dev/null' EXIT

cli="$(/usr/bin/kib --version)"
gui="$(QT_QPA_PLATFORM=offscreen /usr/bin/kib-gui --version)"
[ "$cli" = "$gui" ] || fail "kib --version '$cli' differs from kib-gui --version '$gui'"
version="$(dpkg-deb -f "$deb" Version)"
echo "installed kib $version: $cli"

man -w kib >/dev/null || fail "man -w kib finds no page"
man -w kib-gui >/dev/null || fail "man -w kib-gui finds no page"
zcat "$(man -w kib)" | grep -q 'solution-images' || fail "the kib page lacks the verbs"
grep -qx 'MimeType=application/x-kib-event;' /usr/share/applications/kib.desktop ||
  fail "the desktop entry names no file type"
grep -q 'pattern="\*.cfg"' /usr/share/mime/packages/kib.xml || fail "no *.cfg glob"
grep -q 'value="# Kib Configuration"' /usr/share/mime/packages/kib.xml || fail "no magic rule"
test -f /usr/share/icons/hicolor/scalable/apps/kib.svg || fail "no icon"

# The file type by the first line: an event is Kib's, another program's .cfg file is not.
if command -v gio >/dev/null; then
  types="$(mktemp -d)"
  printf '# Kib Configuration\r\n\r\n[Event]\r\n' >"$types/event.cfg"
  printf '[server]\nport=80\n' >"$types/other.cfg"
  gio info -a standard::content-type "$types/event.cfg" | grep -q 'application/x-kib-event' ||
    fail "an event's .cfg file is not application/x-kib-event"
  gio info -a standard::content-type "$types/other.cfg" | grep -q 'text/plain' ||
    fail "another program's .cfg file is claimed"
  rm -rf "$types"
fi
test -f /usr/share/zsh/vendor-completions/_kib || fail "no zsh completion"

# The verbs and the option values through bash's completion.
completion_of() {
  bash -c 'source /usr/share/bash-completion/completions/kib
           COMP_WORDS=("$@"); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _kib
           echo "${COMPREPLY[*]}"' completion "$@"
}
[ "$(completion_of kib ma)" = "maps" ] || fail "completion of 'kib ma': '$(completion_of kib ma)'"
[ "$(completion_of kib images ev.cfg --format "")" = "pdf ps eps png" ] || fail "completion of --format"

# A generated event made by the installed program, in a folder of its own.
work="$(mktemp -d)"
trap 'rm -rf "$work"; apt-get remove -y -q kib >/dev/null' EXIT
"$kibgen" --out "$work/exports" --event Check --stations 2 --tasks 3 >/dev/null
(cd "$work" && /usr/bin/kib new exports -o check.cfg >/dev/null 2>&1) || fail "kib new failed"
(cd "$work" && /usr/bin/kib maps check.cfg >/dev/null 2>&1) || fail "kib maps failed"
ls "$work"/map-1.1.svg >/dev/null 2>&1 || ls "$work"/*/map-1.1.svg >/dev/null 2>&1 ||
  fail "kib maps wrote no sheet"
echo "check-package.sh: the installed package works"
