#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tarvik {

// One file the About tab reports on: whether it is there, its date, where it lives, and the
// text shown when it is not.
struct FileEntry {
  int32_t Present = 0;
  std::wstring Date;
  std::wstring Name;
  std::wstring Folder;
  std::wstring Status;
};

enum FileEntryIndex : int {
  kProgramFileEntry = 0,
  kSettingsFileEntry = 1,
  kLogFileEntry = 2,
  kPingStateEntry = 3,
  kSagaStateEntry = 4,
};

inline constexpr const wchar_t* kSettingsFileName = L"Tarvik.ini";
inline constexpr const wchar_t* kPingStateName = L"TK-Ping.json";
inline constexpr const wchar_t* kSagaStateName = L"TK-Saga.json";
inline constexpr const wchar_t* kMakerFolderName = L"Brimhold";

// Where the program and its files live. Folders end with a backslash.
struct Paths {
  std::wstring ProgramFile;
  std::wstring ProgramFolder;
  std::wstring DefaultDataFolder;
  std::wstring DataFolder;
  std::wstring PingStatePath;
  std::wstring SagaStatePath;
  std::wstring LogFileName;
  std::array<FileEntry, 5> Files;
};

}  // namespace tarvik
