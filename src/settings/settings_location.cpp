#include "settings/settings_location.h"

#include <optional>

#include "core/path_text.h"
#include "core/paths.h"
#include "settings/log_path.h"

namespace tarvik {
namespace {

constexpr size_t kDriveLength = 2;  // "C:"

bool OnSameDrive(const std::wstring& a, const std::wstring& b) {
  return SameFolder(std::wstring_view(a).substr(0, kDriveLength),
                    std::wstring_view(b).substr(0, kDriveLength));
}

// Portable use logs beside the program, but only into a folder that can be written: a program
// on a read-only medium or in a protected folder keeps logging in the default data folder.
void EnterPortableMode(SettingsContext& context) {
  context.Options.Set(opt::PortableMode, 1);
  if (context.PassesWriteTest(context.ProgramFolder))
    context.Texts.Set(slot::LogFolder, context.ProgramFolder);
}

// Tries one file; when it could be read, `beforeApplying` sets the mode its place implies, so
// that the file's log folder is judged in that mode.
template <typename Mode>
std::optional<ReadResult> TryFile(const std::wstring& path, SettingsContext& context,
                                  Mode beforeApplying) {
  const std::optional<std::string> bytes = context.Files.ReadFile(path);
  if (!bytes)
    return std::nullopt;
  beforeApplying();
  context.Options.Set(opt::SettingsLoaded, 1);
  return ApplySettingsFileText(*bytes, context);
}

std::optional<ReadResult> FindAndRead(SettingsContext& context, std::wstring& readPath) {
  const std::wstring baseFolder = context.Texts.Get(slot::BaseFolder);
  readPath = context.ProgramFolder + kSettingsFileName;
  if (auto read = TryFile(readPath, context, [&] { EnterPortableMode(context); }))
    return read;
  readPath.clear();
  if (baseFolder.empty()) {
    EnterPortableMode(context);
    return std::nullopt;
  }
  readPath = DataFolderOf(baseFolder, kMakerFolderName) + kSettingsFileName;
  if (auto read = TryFile(readPath, context, [] {}))
    return read;
  readPath.clear();
  if (!OnSameDrive(context.ProgramFolder, baseFolder))
    EnterPortableMode(context);
  return std::nullopt;
}

}  // namespace

std::wstring DataFolderOf(const std::wstring& baseFolder, const std::wstring& makerFolder) {
  if (makerFolder.empty())
    return WithTrailingBackslash(baseFolder);
  return WithTrailingBackslash(baseFolder) + makerFolder + L"\\";
}

std::wstring SettingsFilePath(const TextSlots& texts) {
  return DataFolderOf(texts.Get(slot::BaseFolder), texts.Get(slot::MakerFolderName)) +
         kSettingsFileName;
}

LoadResult LocateAndLoadSettings(SettingsContext& context, const std::wstring& defaultDataFolder) {
  context.Options.Set(opt::PortableMode, 0);
  context.Options.Set(opt::SettingsLoaded, 0);
  context.Texts.Set(slot::LogFolder, defaultDataFolder);

  LoadResult result;
  if (std::optional<ReadResult> read = FindAndRead(context, result.SettingsFile)) {
    result.Read = *read;
  }
  result.Portable = context.Options.IsOn(opt::PortableMode);
  if (result.Portable) {
    context.Texts.Set(slot::BaseFolder, WithoutTrailingBackslash(context.ProgramFolder));
    context.Texts.Set(slot::MakerFolderName, L"");
  } else {
    context.Texts.Set(slot::MakerFolderName, kMakerFolderName);
  }
  result.DataFolder =
      DataFolderOf(context.Texts.Get(slot::BaseFolder), context.Texts.Get(slot::MakerFolderName));
  return result;
}

}  // namespace tarvik
