#!/usr/bin/env bash
# Usage: package_test.sh BUILD_DIR. Builds the Debian package from the build, checks its
# metadata and files with Debian's own tools, unpacks it into a scratch root (dpkg -x) and
# runs the unpacked trimjet-cli on a picture, its manual page and its completion.
set -uo pipefail
build=${1:?build folder}
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if ! cpack --config "$build/CPackConfig.cmake" -B "$scratch/pkg" >"$scratch/cpack.log" 2>&1; then
  cat "$scratch/cpack.log"
  echo "FAIL: cpack"
  exit 1
fi
deb=$(ls "$scratch"/pkg/trimjet_*.deb)
root=$scratch/root
dpkg -x "$deb" "$root" || { echo "FAIL: dpkg -x"; exit 1; }

depends=$(dpkg-deb -f "$deb" Depends)
for lib in libvips42 libqt6core6 libjpeg62-turbo; do
  [[ $depends == *"$lib"* ]] || fail "Depends lacks $lib: $depends"
done
for f in usr/bin/trimjet usr/bin/trimjet-cli usr/lib/trimjet/trimjet-batch-worker \
  usr/share/man/man1/trimjet.1.gz usr/share/man/man1/trimjet-cli.1.gz \
  usr/share/bash-completion/completions/trimjet-cli usr/share/zsh/vendor-completions/_trimjet-cli \
  usr/share/fish/vendor_completions.d/trimjet-cli.fish usr/share/doc/trimjet/copyright \
  usr/share/icons/hicolor/48x48/apps/trimjet.png usr/share/icons/hicolor/256x256/apps/trimjet.png \
  usr/share/metainfo/example.norvale.Trimjet.metainfo.xml; do
  [ -s "$root/$f" ] || fail "$f is not in the package"
done
grep -q '^Exec="/usr/bin/trimjet" %F$' "$root/usr/share/applications/trimjet.desktop" ||
  fail "trimjet.desktop does not start /usr/bin/trimjet"

# Debian's own judges: errors only (warnings and notes are not failures).
for entry in "$root"/usr/share/applications/*.desktop; do
  desktop-file-validate "$entry" || fail "desktop-file-validate $(basename "$entry")"
done
[ "$(grep -L '^NoDisplay=true' "$root"/usr/share/applications/*.desktop | wc -l)" -eq 1 ] ||
  fail "not exactly one menu entry"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.xml >"$scratch/as.log" ||
  { cat "$scratch/as.log"; fail "appstreamcli validate"; }
if command -v lintian >/dev/null; then
  lintian --fail-on error "$deb" >"$scratch/lintian.log" ||
    { cat "$scratch/lintian.log"; fail "lintian"; }
fi

# The unpacked tool, from its own folder, on a picture; and in a pipe.
cli=$root/usr/bin/trimjet-cli
# A folder of its own: beside the fixtures' photo.jpg it would be named "photo (png).jpg".
mkdir -p "$scratch/in" && cp "$source_dir/tests/engine/fixtures/photo.png" "$scratch/in/"
"$cli" -q -o "$scratch/out" "$scratch/in/photo.png" ||
  fail "the unpacked trimjet-cli failed"
[ "$(head -c 3 "$scratch/out/photo.jpg" | od -An -tx1 | tr -d ' ')" = ffd8ff ] ||
  fail "the unpacked trimjet-cli wrote no JPEG"
"$cli" - -o - <"$source_dir/tests/engine/fixtures/photo.gif" >"$scratch/piped.jpg" 2>/dev/null ||
  fail "trimjet-cli - -o - failed"
[ "$(head -c 3 "$scratch/piped.jpg" | od -An -tx1 | tr -d ' ')" = ffd8ff ] ||
  fail "trimjet-cli - -o - wrote no JPEG"

# The manual page renders without a warning; the completion offers an option's values.
warnings=$(MANROFFSEQ='' man --warnings -l "$root/usr/share/man/man1/trimjet-cli.1.gz" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "trimjet-cli.1: $warnings"
words=$(bash -c 'source "$1"; COMP_WORDS=(trimjet-cli --if-exists s); COMP_CWORD=2
  _trimjet_cli; echo "${COMPREPLY[*]}"' _ "$root/usr/share/bash-completion/completions/trimjet-cli")
[ "$words" = skip ] || fail "bash completion of --if-exists s gives '$words'"

[ "$failures" -eq 0 ] && echo "package: all checks passed"
exit "$failures"
