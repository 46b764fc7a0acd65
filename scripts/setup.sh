#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Tarvik need, and nothing when
# they are all there already (no apt-get call at all then), then builds the Windows build's
# libcurl into its cache and places cpp-httplib's header in its own, unless they are there. Runs as
# root, or through sudo.
set -euo pipefail

packages=(
  # native build and unit tests
  cmake ninja-build g++ clang libclang-rt-14-dev googletest nlohmann-json3-dev clang-format
  libcurl4-openssl-dev
  # fetching and unpacking Debian's curl source package for the Windows build's libcurl
  dpkg-dev
  # the Windows build
  g++-mingw-w64-x86-64-posix
  # running the Windows build and its end-to-end tests
  wine wine64 xvfb xdotool xclip imagemagick x11-utils
  # the end-to-end tests read the program's JSON state files and serve the network test's
  # address lookup
  python3
  # Wine's own fonts (Marlett for the caption buttons, Tahoma, MS Sans Serif, the bitmap system
  # fonts), only recommended by libwine; scripts/lib/wine-session.sh copies them into each prefix
  fonts-wine
  # a fixed-pitch font that stands in for Lucida Console, which Wine lacks (the mini window lays
  # its cells out in character columns)
  fonts-dejavu-core
  # libraries Wine opens at run time (only recommended by its packages): X extensions for
  # windows, display modes and drawing, GnuTLS for Schannel
  libxrender1 libxrandr2 libxi6 libxcursor1 libxinerama1 libxcomposite1 libxfixes3 libxxf86vm1
  libgl1 libgnutls30
  # the metrics page's end-to-end test scrapes the program with a real monitoring server and
  # checks a page with its tool
  prometheus
)

# One dpkg-query for all: the packages that are fully installed, one name a line.
installedList=$(dpkg-query -W -f='${Package} ${db:Status-Abbrev}\n' "${packages[@]}" 2>/dev/null |
  awk '$2 == "ii" { print $1 }' || true)

missing=()
for package in "${packages[@]}"; do
  grep -qxF "$package" <<<"$installedList" || missing+=("$package")
done

scripts=$(cd "$(dirname "$0")" && pwd)
if [[ ${#missing[@]} -eq 0 ]]; then
  "$scripts/build-curl-mingw.sh"
  exec "$scripts/fetch-httplib.sh"
fi

echo "setup: installing ${missing[*]}"
asRoot=()
if [[ $(id -u) -ne 0 ]]; then
  if ! command -v sudo >/dev/null; then
    echo "setup: not root and no sudo; install as root: ${missing[*]}" >&2
    exit 1
  fi
  asRoot=(sudo)
fi
"${asRoot[@]}" apt-get update
"${asRoot[@]}" env DEBIAN_FRONTEND=noninteractive \
  apt-get install -y --no-install-recommends "${missing[@]}"
"$scripts/build-curl-mingw.sh"
"$scripts/fetch-httplib.sh"
