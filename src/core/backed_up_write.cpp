#include "core/backed_up_write.h"

namespace tarvik {

bool WriteOverBackup(platform::FileSystem& files, const std::wstring& path,
                     const std::wstring& backup, std::string_view bytes) {
  if (files.WriteFile(path, bytes) && files.ReadFile(path) == bytes) {
    static_cast<void>(files.RemoveFile(backup));
    return true;
  }
  static_cast<void>(files.RemoveFile(path));
  static_cast<void>(files.RenameFile(backup, path));
  return false;
}

}  // namespace tarvik
