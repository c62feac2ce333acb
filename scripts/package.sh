#!/usr/bin/env bash
# Builds the Debian package from build/ (configured and built there when needed; what is
# already built is reused) and checks it with lintian, desktop-file-validate and appstreamcli.
# The package lands in build/, named trimjet_VERSION_ARCH.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
[ -f build/CMakeCache.txt ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
(cd build && cpack -G DEB >/dev/null)
deb=$(ls -t build/trimjet_*.deb | head -n 1)

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg -x "$deb" "$scratch"
for entry in "$scratch"/usr/share/applications/*.desktop; do desktop-file-validate "$entry"; done
appstreamcli validate --no-net "$scratch"/usr/share/metainfo/*.metainfo.xml
lintian --fail-on error "$deb"
echo "$deb"
