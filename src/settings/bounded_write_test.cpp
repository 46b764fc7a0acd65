#include "settings/bounded_write_test.h"

#include <future>
#include <memory>

#include "settings/log_path.h"

namespace tarvik {

bool BoundedWriteTest::Passes(const std::wstring& folder) const {
  // Shared with the helper, so that a late answer lands in something that still exists.
  auto answer = std::make_shared<std::promise<bool>>();
  std::future<bool> future = answer->get_future();
  platform::FileSystem& files = files_;
  const bool started = startTask_ && startTask_([answer, &files, folder] {
                         answer->set_value(FolderPassesWriteTest(files, folder));
                       });
  if (!started || future.wait_for(wait_) != std::future_status::ready)
    return false;
  return future.get();
}

}  // namespace tarvik
