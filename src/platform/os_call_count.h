#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

// What the program asks of the operating system, counted in a bench build.
//
// A build made with TARVIK_COUNT_OS_CALLS counts every call that the Windows side of the platform
// layer makes for the rest of the program: one TARVIK_COUNT_OS_CALL("Name") at the top of each
// such function (or around the one call in a longer function) counts it under the Windows
// function it asks, for the thread that asked, with its wall time on the steady clock. The
// threads are known by the names the program gives them; the rest are "unnamed". Waits (sleeps,
// alertable waits for echoes, the window thread's wait for messages) are not counted: their
// length is the caller's choice, not the call's cost. Nor are construction and tear-down of the
// platform objects, or the window thread's own window calls.
//
// At shut-down TARVIK_WRITE_COUNTED_OS_CALLS() writes the table, second by second, to the file
// that the environment variable TARVIK_OS_CALLS_FILE names; scripts/bench.sh reads the seconds of
// its measuring window from it. In every other build the three macros compile to nothing.
namespace tarvik::platform {

struct OsCallTally {
  int64_t Calls = 0;
  int64_t Nanoseconds = 0;
};

// The calls of one thread to one function within one second of the system clock.
struct OsCallRow {
  int64_t UnixSecond = 0;  // 0 for the seconds folded together as too old
  std::string Thread;
  std::string Call;
  OsCallTally Tally;
};

// The counts, per second, thread and call. Only the latest kKeptSeconds stay apart: older ones
// are folded into second 0, so a counting build left running all day keeps a bounded table and
// its totals. Any thread may add.
class OsCallTable {
 public:
  static constexpr int64_t kKeptSeconds = 900;

  void Add(int64_t unixSecond, std::string_view thread, std::string_view call, int64_t nanoseconds);
  // By second, then thread, then call.
  [[nodiscard]] std::vector<OsCallRow> Rows() const;
  // A heading line, then one line per row: second, thread, call, calls and nanoseconds,
  // separated by tabs; control characters in the names become '?'.
  [[nodiscard]] std::string Text() const;

 private:
  void FoldBefore(int64_t unixSecond);

  using Key = std::tuple<int64_t, std::string, std::string>;
  mutable std::mutex mutex_;
  std::map<Key, OsCallTally> tallies_;
  int64_t newestSecond_ = 0;
};

// The calling thread's name for the calls it counts from now on; characters outside plain ASCII
// become '?'.
void NameCountedThread(const std::wstring& name);
[[nodiscard]] const std::string& CountedThreadName();

// The program's one table; never destroyed, as threads that shut-down abandoned may still count.
[[nodiscard]] OsCallTable& ProgramOsCalls();
// Writes the program's table to the file TARVIK_OS_CALLS_FILE names; false when it names none or
// the file could not be written.
bool WriteProgramOsCalls();

// Counts one call from its construction to its end. A counted call inside another counts its own
// time, and the outer call keeps only the rest, so the times of a thread's calls add up to the
// time it spent in them.
class CountedOsCall {
 public:
  explicit CountedOsCall(std::string_view call, OsCallTable& table = ProgramOsCalls());
  ~CountedOsCall();
  CountedOsCall(const CountedOsCall&) = delete;
  CountedOsCall& operator=(const CountedOsCall&) = delete;

 private:
  OsCallTable& table_;
  std::string_view call_;
  std::chrono::steady_clock::time_point started_;
  int64_t outerInnerNanoseconds_;
};

}  // namespace tarvik::platform

#ifdef TARVIK_COUNT_OS_CALLS
#define TARVIK_COUNT_OS_CALL(call) const ::tarvik::platform::CountedOsCall countedOsCall_(call)
#define TARVIK_NAME_COUNTED_THREAD(name) ::tarvik::platform::NameCountedThread(name)
#define TARVIK_WRITE_COUNTED_OS_CALLS() static_cast<void>(::tarvik::platform::WriteProgramOsCalls())
#else
#define TARVIK_COUNT_OS_CALL(call) static_cast<void>(0)
#define TARVIK_NAME_COUNTED_THREAD(name) static_cast<void>(0)
#define TARVIK_WRITE_COUNTED_OS_CALLS() static_cast<void>(0)
#endif
