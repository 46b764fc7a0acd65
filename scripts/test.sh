#!/usr/bin/env bash
# Builds and tests everything, as CI does: the native build with its unit tests (sanitizers on)
# and its threaded tests once more under ThreadSanitizer,
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

# The tests that run threads of their own, built once more with ThreadSanitizer: a race on the
# shared records is reported on every run, not only on the runs where it happens to crash.
# ApplicationTest is left out: its threads end with a timed lock that GCC 12's ThreadSanitizer
# does not follow, so it reports races that are none.
threadBuild=${TARVIK_THREAD_BUILD:-build/native-threads}
threadedTests='MonitorThreads.*:StopSignal.*:WindowUpdateQueue.*:WindowUpdateApplier.*'
threadedTests+=':WindowCallback*:LogBook.*:GpuMonitorTest.*:SettingsRecord.*:TranslationTest.*'
threadedTests+=':PageServerTest.*:MetricsWiringTest.*'
threadedTests+=':EchoEngine.*:PingCoordinatorThread.*:PingCoordinatorTest.*'

thread_configure() {
  cmake -S . -B "$threadBuild" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTARVIK_SANITIZE=OFF \
    -DTARVIK_SANITIZE_THREADS=ON
}

# Without address-space randomisation: ThreadSanitizer needs its fixed memory layout, which the
# kernel's wider randomisation may overlap.
thread_tests() {
  TSAN_OPTIONS="suppressions=$repo/tests/thread-sanitizer.supp" \
    setarch "$(uname -m)" -R "$threadBuild/tests/tarvik_unit_tests" --gtest_filter="$threadedTests" \
    >"$logs/thread-tests.log" 2>&1
  local code=$?
  tail -n 3 "$logs/thread-tests.log"
  return "$code"
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
  failure_lines "$log"
}

# Why tests failed, in a few lines: each failed assertion and an end-to-end test's FAIL line with
# the log lines printed just before it.
failure_lines() {
  local lines
  lines=$(grep -E -B6 '^FAIL: |: Failure$|^\[  FAILED  \] ' "$1" | grep -v -- '^--$' | tail -n 40)
  [[ -n "$lines" ]] || return 0
  echo "  why:"
  printf '%s\n' "$lines" | cut -c1-200 | sed 's/^/    /'
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

if stage "thread configure" thread_configure; then
  if stage "thread build" cmake --build "$threadBuild" -j "$jobs" --target tarvik_unit_tests; then
    stage "thread tests" thread_tests
  else
    skip "thread tests" "build failed"
  fi
else
  skip "thread build" "configure failed"
  skip "thread tests" "configure failed"
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
