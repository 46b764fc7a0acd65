#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "platform/files.h"

namespace tarvik {

// Runs a piece of work on a short-lived thread; false when no thread could start.
using WriteTestStarter = std::function<bool(std::function<void()> work)>;

// The folder write test as the window thread runs it: a share gone offline can take many
// seconds to fail, and the window must not hang meanwhile. The test runs on a helper and the
// caller waits for it at most `wait`; one that has not answered by then counts as failed and
// finishes on its own. Without a helper the folder counts as failed too: it is not tried here,
// where it could hang. `files` must outlive every helper (it lives as long as the process).
class BoundedWriteTest {
 public:
  BoundedWriteTest(platform::FileSystem& files, WriteTestStarter startTask,
                   std::chrono::milliseconds wait)
      : files_(files), startTask_(std::move(startTask)), wait_(wait) {}

  [[nodiscard]] bool Passes(const std::wstring& folder) const;

 private:
  platform::FileSystem& files_;
  WriteTestStarter startTask_;
  std::chrono::milliseconds wait_;
};

}  // namespace tarvik
