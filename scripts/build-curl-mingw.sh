#!/usr/bin/env bash
# Builds libcurl for the Windows build once: Debian's curl source package, static, HTTP only,
# TLS through Schannel, installed into a cache outside the repository where the Windows build's
# find_package(CURL) looks. A cache that holds it already is used as it is.
set -euo pipefail

prefix=${TARVIK_CURL_MINGW:-$HOME/.cache/tarvik/curl-mingw}
if [[ -f $prefix/lib/cmake/CURL/CURLConfig.cmake ]]; then
  exit 0
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=scripts/lib/debian-source.sh
source "$root/scripts/lib/debian-source.sh"

echo "build-curl-mingw: fetching Debian's curl source package"
source=$(debian_source_unpack curl "$work") && [[ -n $source ]] || {
  echo "build-curl-mingw: could not fetch curl's source package" >&2
  exit 1
}

echo "build-curl-mingw: building libcurl into $prefix"
cmake -S "$source" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DBUILD_SHARED_LIBS=OFF -DCURL_USE_SCHANNEL=ON -DHTTP_ONLY=ON -DBUILD_CURL_EXE=OFF \
  -DCURL_USE_LIBSSH2=OFF -DUSE_LIBIDN2=OFF -DCURL_ZLIB=OFF -DENABLE_MANUAL=OFF \
  -DBUILD_TESTING=OFF -DCURL_USE_LIBPSL=OFF >"$work/configure.log" ||
  { cat "$work/configure.log" >&2; exit 1; }
cmake --build "$work/build" -j 2 >"$work/build.log" || { tail -n 40 "$work/build.log" >&2; exit 1; }
cmake --install "$work/build" >/dev/null
