#include "platform/os_call_count.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace tarvik::platform {
namespace {

constexpr const char* kUnnamedThread = "unnamed";
constexpr const char* kFileVariable = "TARVIK_OS_CALLS_FILE";

thread_local std::string countedThreadName = kUnnamedThread;
// The time this thread spent in counted calls inside the one it is in now.
thread_local int64_t innerNanoseconds = 0;

int64_t NanosecondsSince(std::chrono::steady_clock::time_point started) {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() -
                                                              started)
      .count();
}

// The second of the system clock at a point of the steady clock: the steady clock times the
// calls, the system clock is what a script outside the program can read too.
int64_t UnixSecondAt(std::chrono::steady_clock::time_point at) {
  static const auto bases =
      std::make_pair(std::chrono::steady_clock::now(), std::chrono::system_clock::now());
  const auto when = bases.second + std::chrono::duration_cast<std::chrono::system_clock::duration>(
                                       at - bases.first);
  return std::chrono::floor<std::chrono::seconds>(when.time_since_epoch()).count();
}

std::string Plain(std::string_view name) {
  std::string plain(name);
  std::replace_if(
      plain.begin(), plain.end(), [](char c) { return c < 0x20 || c == 0x7F; }, '?');
  return plain;
}

}  // namespace

void OsCallTable::Add(int64_t unixSecond, std::string_view thread, std::string_view call,
                      int64_t nanoseconds) {
  const std::lock_guard<std::mutex> lock(mutex_);
  if (unixSecond > newestSecond_) {
    newestSecond_ = unixSecond;
    FoldBefore(newestSecond_ - kKeptSeconds + 1);
  }
  const int64_t kept = unixSecond > newestSecond_ - kKeptSeconds ? unixSecond : 0;
  OsCallTally& tally = tallies_[Key{kept, std::string(thread), std::string(call)}];
  ++tally.Calls;
  tally.Nanoseconds += nanoseconds;
}

void OsCallTable::FoldBefore(int64_t unixSecond) {
  auto at = tallies_.lower_bound(Key{1, "", ""});
  while (at != tallies_.end() && std::get<0>(at->first) < unixSecond) {
    OsCallTally& folded = tallies_[Key{0, std::get<1>(at->first), std::get<2>(at->first)}];
    folded.Calls += at->second.Calls;
    folded.Nanoseconds += at->second.Nanoseconds;
    at = tallies_.erase(at);
  }
}

std::vector<OsCallRow> OsCallTable::Rows() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  std::vector<OsCallRow> rows;
  rows.reserve(tallies_.size());
  for (const auto& [key, tally] : tallies_)
    rows.push_back({std::get<0>(key), std::get<1>(key), std::get<2>(key), tally});
  return rows;
}

std::string OsCallTable::Text() const {
  std::string text = "unix second\tthread\tcall\tcalls\tnanoseconds\n";
  for (const OsCallRow& row : Rows()) {
    text += std::to_string(row.UnixSecond) + '\t' + Plain(row.Thread) + '\t' + Plain(row.Call) +
            '\t' + std::to_string(row.Tally.Calls) + '\t' + std::to_string(row.Tally.Nanoseconds) +
            '\n';
  }
  return text;
}

void NameCountedThread(const std::wstring& name) {
  std::string plain;
  for (const wchar_t c : name)
    plain += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
  countedThreadName = plain.empty() ? kUnnamedThread : plain;
}

const std::string& CountedThreadName() {
  return countedThreadName;
}

OsCallTable& ProgramOsCalls() {
  static auto* table = new OsCallTable();
  return *table;
}

bool WriteProgramOsCalls() {
  const char* path = std::getenv(kFileVariable);
  if (path == nullptr || *path == '\0')
    return false;
  std::FILE* file = std::fopen(path, "wb");
  if (file == nullptr)
    return false;
  const std::string text = ProgramOsCalls().Text();
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && written;
}

CountedOsCall::CountedOsCall(std::string_view call, OsCallTable& table)
    : table_(table),
      call_(call),
      started_(std::chrono::steady_clock::now()),
      outerInnerNanoseconds_(std::exchange(innerNanoseconds, 0)) {}

// The outer call is told this call's whole length, counting included, so that none of it stays
// in the outer call's own time.
CountedOsCall::~CountedOsCall() {
  const int64_t own = std::max<int64_t>(NanosecondsSince(started_) - innerNanoseconds, 0);
  table_.Add(UnixSecondAt(started_), countedThreadName, call_, own);
  innerNanoseconds = outerInnerNanoseconds_ + NanosecondsSince(started_);
}

}  // namespace tarvik::platform
