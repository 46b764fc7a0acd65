#!/usr/bin/env bash
# Places cpp-httplib's single header (Debian's cpp-httplib source package, with Debian's own
# patches applied) in a cache outside the repository, where both builds find it: the native build
# and the Windows build compile the same header-only library. A cache that holds it is kept.
set -euo pipefail

target=${TARVIK_HTTPLIB:-$HOME/.cache/tarvik/cpp-httplib}
if [[ -f $target/httplib.h ]]; then
  exit 0
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# shellcheck source=scripts/lib/debian-source.sh
source "$(cd "$(dirname "$0")" && pwd)/lib/debian-source.sh"

echo "fetch-httplib: fetching Debian's cpp-httplib source package"
source=$(debian_source_unpack cpp-httplib "$work") && [[ -f $source/httplib.h ]] || {
  echo "fetch-httplib: could not fetch cpp-httplib's source package" >&2
  exit 1
}
mkdir -p "$target"
cp "$source/httplib.h" "$source/LICENSE" "$target/"
echo "fetch-httplib: httplib.h $(sed -n 's/^#define CPPHTTPLIB_VERSION "\(.*\)"/\1/p' "$target/httplib.h") in $target"
