#pragma once

#include <string>

namespace tarvik::platform {

// Facts about the process and the user that the program reads at start.
class Environment {
 public:
  virtual ~Environment() = default;

  [[nodiscard]] virtual std::wstring ProgramFile() const = 0;
  // The user's roaming application-data folder with a trailing backslash, or empty.
  [[nodiscard]] virtual std::wstring AppDataFolder() const = 0;
  [[nodiscard]] virtual int UserDefaultLanguageId() const = 0;
  // Every logical processor the program may run on, over all processor groups, at most 144.
  [[nodiscard]] virtual int LogicalProcessorCount() const = 0;
  // The Windows folder without a trailing backslash; empty when unknown.
  [[nodiscard]] virtual std::wstring WindowsFolder() const = 0;
  virtual void Beep(int hertz, int milliseconds) = 0;
  virtual void SetCurrentThreadPriority(int level) = 0;  // 1 lowest .. 16 normal .. 31 highest
  // Names the calling thread for debuggers and for the system's per-thread figures; nothing
  // where the system cannot name threads.
  virtual void NameCurrentThread(const std::wstring& name) = 0;
  // Shows a folder in the file manager; false when it could not be opened.
  virtual bool OpenFolder(const std::wstring& folder) = 0;
};

}  // namespace tarvik::platform
