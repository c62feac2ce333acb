#!/usr/bin/env bash
# Installs every Debian package Trimjet needs to build, test and benchmark.
# Idempotent: prints nothing and installs nothing when all packages are present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libvips-dev libvips-tools
  libheif1 libde265-0 libaom3 libdav1d6 libwebp7 libwebpdemux2
  libjpeg62-turbo-dev libjpeg-turbo-progs
  libexif-dev liblcms2-dev
  libgtest-dev googletest
  clang libclang-rt-14-dev
  xvfb x11-utils xauth imagemagick dbus-daemon
  parallel openssh-server
  dosfstools fusefat
  dpkg-dev fakeroot lintian desktop-file-utils appstream librsvg2-bin bash-completion man-db
  fonts-dejavu-core
  python3
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
