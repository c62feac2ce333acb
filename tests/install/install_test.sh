#!/usr/bin/env bash
# Usage: install_test.sh BUILD_DIR. Installs with a DESTDIR and a prefix that contains a
# blank, then checks the program folder, the launcher, the desktop entries and the icon.
set -uo pipefail
build=${1:?build folder}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix="/opt/trim jet"
root="$scratch$prefix"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if ! DESTDIR="$scratch" cmake --install "$build" --prefix "$prefix" >"$scratch/log" 2>&1; then
  cat "$scratch/log"
  echo "FAIL: cmake --install"
  exit 1
fi

libdir=$(find "$root" -type d -name trimjet -path '*/lib*/trimjet' | head -n 1)
[ -n "$libdir" ] || { echo "FAIL: no program folder under $root"; exit 1; }
for f in Trimjet Trimjet.hpx trimjet-handoff trimjet-batch-worker trimjet-thumbnailer Trimjet.html; do
  [ -f "$libdir/$f" ] || fail "$f missing from the program folder"
done
for f in Trimjet trimjet-handoff trimjet-batch-worker trimjet-thumbnailer; do
  [ -x "$libdir/$f" ] || fail "$f is not executable"
done
[ "$(readlink "$libdir/Trimjet.dat")" = Trimjet ] || fail "Trimjet.dat is not a link to Trimjet"

launcher="$root/bin/trimjet"
[ -x "$launcher" ] || fail "the launcher bin/trimjet is missing or not executable"
program_in_launcher=$(sed -n 's/^program="\(.*\)"$/\1/p' "$launcher")
[ -x "$scratch$program_in_launcher" ] || fail "the launcher names '$program_in_launcher', not the installed program"
[ -x "$root/bin/trimjet-cli" ] || fail "bin/trimjet-cli missing"

# Exec keys: the quoted path must name an installed executable (DESTDIR stripped).
check_exec() {
  local entry=$1 exec path
  [ -f "$entry" ] || { fail "$(basename "$entry") missing"; return; }
  exec=$(sed -n 's/^Exec=//p' "$entry" | head -n 1)
  path=$(printf '%s' "$exec" | sed -n 's/^"\([^"]*\)".*/\1/p')
  [ -n "$path" ] || { fail "$(basename "$entry"): Exec is not a quoted path: $exec"; return; }
  [ -x "$scratch$path" ] || fail "$(basename "$entry"): Exec names '$path', which is not installed"
  grep -q '^Type=Application$' "$entry" || fail "$(basename "$entry"): not an application entry"
}
check_exec "$root/share/applications/trimjet.desktop"
check_exec "$root/share/applications/trimjet-optimize.desktop"
grep -q '^Icon=trimjet$' "$root/share/applications/trimjet.desktop" || fail "trimjet.desktop names another icon"
for entry in trimjet trimjet-optimize; do
  grep -q "^StartupWMClass=Trimjet$" "$root/share/applications/$entry.desktop" ||
    fail "$entry.desktop does not name the window class Trimjet"
done
[ -s "$root/share/icons/hicolor/scalable/apps/trimjet.svg" ] || fail "icon missing"

# The installed launcher loads the installed plug-in from its own folder.
"$libdir/trimjet-handoff" </dev/null >"$scratch/handoff.log" 2>&1 ||
  fail "the installed trimjet-handoff cannot load its plug-in: $(cat "$scratch/handoff.log")"

[ "$failures" -eq 0 ] && echo "install layout: all checks passed"
exit "$failures"
