# shellcheck shell=bash
# Fetches and unpacks a Debian source package through a private apt configuration built from the
# system's own Debian sources, so that the system's lists, cache and settings stay as they are and
# no root is needed. Source this file, then:
#
#   debian_source_unpack <package> <work folder>   prints the folder of the unpacked source
debian_source_unpack() {
  local package=$1 work=$2
  chmod 755 "$work" # apt fetches as its own user
  mkdir -p "$work/sources" "$work/lists/partial" "$work/cache/archives/partial"
  local list
  for list in /etc/apt/sources.list.d/*.sources; do
    if [[ -f $list ]]; then
      sed 's/^Types:.*/Types: deb-src/' "$list" >"$work/sources/$(basename "$list")"
    fi
  done
  if [[ -f /etc/apt/sources.list ]]; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list >"$work/sources/system.list"
  fi
  local apt=(apt-get -o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$work/sources"
    -o Dir::State::Lists="$work/lists" -o Dir::Cache="$work/cache")
  "${apt[@]}" update -qq >&2 || return 1
  (cd "$work" && "${apt[@]}" source -qq "$package" >/dev/null 2>&1) || return 1
  find "$work" -maxdepth 1 -type d -name "$package-*" | head -n 1
}
