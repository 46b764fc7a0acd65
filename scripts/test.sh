#!/usr/bin/env bash
# Builds and tests everything, as CI does: the native build with its unit tests (sanitizers on),
# the Windows build with its Windows tests and end-to-end tests under Wine, then a short fuzzing
# run when there is a fuzzing script. Every stage runs even after a failure (as far as it can);
# the exit code is non-zero when any stage failed.
set -uo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo" || exit 1
# shellcheck source=scripts/lib/wine-session.sh
source scripts/lib/wine-session.sh

jobs=2
# The build folders can be moved, so that a second checkout or a trial run disturbs no one.
nativeBuild=${TARVIK_NATIVE_BUILD:-build/native}
winBuild=${TARVIK_WIN_BUILD:-build/win}
logs=${TARVIK_TEST_LOGS:-build/test-logs}
mkdir -p "$logs"

stageNames=()
stageResults=()
stageSeconds=()
failed=0

# Runs one stage: <name> <command...>. Records its result and how long it took.
stage() {
  local name=$1
  shift
  echo
  echo "=== $name"
  local started=$EPOCHREALTIME result=passed
  "$@" || result=FAILED
  stageNames+=("$name")
  stageResults+=("$result")
  stageSeconds+=("$(wine_session_seconds_since "$started")")
  [[ $result == passed ]] || failed=1
  [[ $result == passed ]]
}

skip() {
  stageNames+=("$1")
  stageResults+=("skipped ($2)")
  stageSeconds+=("-")
  failed=1
}

native_configure() {
  cmake -S . -B "$nativeBuild" -G Ninja -DCMAKE_BUILD_TYPE=Debug
}

win_configure() {
  cmake -S . -B "$winBuild" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release
}

# ctest writes its own log, so its summary can be shown again at the end; its output is never
# piped here (under Wine a pipe would stay open). Extra arguments go to ctest.
run_ctest() {
  local buildDir=$1 log=$2
  shift 2
  (cd "$buildDir" && ctest --output-on-failure --output-log "$repo/$log" "$@")
}

wine_session() {
  sessionFolder=$(mktemp -d "${TMPDIR:-/tmp}/tarvik-test-session.XXXXXX") &&
    wine_session_start "$sessionFolder"
}

end_wine_session() {
  wine_session_stop
  [[ -n "${sessionFolder:-}" ]] && rm -rf "$sessionFolder"
  sessionFolder=""
}

# The last lines of a ctest log: pass count, failed tests, total time.
ctest_summary() {
  local log=$1
  if [[ ! -s "$log" ]]; then
    echo "  (no test run)"
    return
  fi
  sed -n '/tests passed/,$p' "$log" | sed 's/^/  /'
}

# shellcheck disable=SC2317 # called by the EXIT trap
cleanup() {
  end_wine_session
}
sessionFolder=""
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

rm -f "$logs/native-ctest.log" "$logs/win-ctest.log"

stage "setup" scripts/setup.sh

if stage "native configure" native_configure; then
  if stage "native build" cmake --build "$nativeBuild" -j "$jobs"; then
    stage "native tests" run_ctest "$nativeBuild" "$logs/native-ctest.log" -j "$jobs"
  else
    skip "native tests" "build failed"
  fi
else
  skip "native build" "configure failed"
  skip "native tests" "configure failed"
fi

if stage "windows configure" win_configure; then
  if stage "windows build" cmake --build "$winBuild" -j "$jobs"; then
    if stage "wine session" wine_session; then
      # wine_session_start set its own EXIT trap; ours also removes the session folder.
      trap cleanup EXIT
      # One at a time: Windows tests and the program share one display, clipboard and mutex.
      stage "windows tests" run_ctest "$winBuild" "$logs/win-ctest.log"
    else
      skip "windows tests" "no Wine session"
    fi
    stage "end wine session" end_wine_session
  else
    skip "windows tests" "build failed"
  fi
else
  skip "windows build" "configure failed"
  skip "windows tests" "configure failed"
fi

if [[ -f scripts/fuzz.sh ]]; then
  stage "fuzz" bash scripts/fuzz.sh 15
fi

echo
echo "=== native tests"
ctest_summary "$logs/native-ctest.log"
echo "=== windows tests"
ctest_summary "$logs/win-ctest.log"
echo "=== stages"
for i in "${!stageNames[@]}"; do
  printf '  %-20s %-24s %8s s\n' "${stageNames[$i]}" "${stageResults[$i]}" "${stageSeconds[$i]}"
done
if [[ $failed -ne 0 ]]; then
  echo "RESULT: FAILED"
  exit 1
fi
echo "RESULT: passed"
