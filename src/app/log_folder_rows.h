#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "app/gadget_routes.h"
#include "core/guarded.h"
#include "core/paths.h"
#include "core/text_slots.h"
#include "platform/files.h"
#include "platform/gui.h"

namespace tarvik {

// Runs a piece of work on a short-lived thread; false when no thread could start.
using FolderTestStarter = std::function<bool(std::function<void()> work)>;

struct LogFolderPorts {
  platform::Gui& Gui;
  platform::FileSystem& Files;
  TextSlots& Texts;
  Guarded<Paths>& FilePaths;
  FolderTestStarter StartTask;
  // How long the window waits for a folder's write test: a share gone offline can take many
  // seconds to fail, and the window must not hang meanwhile.
  std::chrono::milliseconds TestWait;
};

// The log folder's row of the Settings tab. The field shows the folder read-only until "Set"
// opens it for editing together with "Portable" and "Default"; "Set" again takes the edited
// folder once a file can be written there, "Portable" and "Default" take the program's or the
// default data folder. Each of the three closes the editor when it changes the folder.
class LogFolderRows {
 public:
  explicit LogFolderRows(LogFolderPorts ports) : ports_(std::move(ports)) {}

  // The log folder changed: the log file name and the file panel follow.
  void OnFolderChanged(std::function<void()> changed) { folderChanged_ = std::move(changed); }
  void Install(GadgetRoutes& routes);

  [[nodiscard]] bool EditorOpen() const { return editorOpen_; }
  // Back to the read-only field showing the log folder, the edit dropped.
  void CloseEditor();

 private:
  void OpenEditor();
  void TakeEditedFolder();
  void UseFolder(const std::wstring& folder);
  [[nodiscard]] bool PassesWriteTestInTime(const std::wstring& folder);
  void ShowEditor(bool open);

  LogFolderPorts ports_;
  std::function<void()> folderChanged_;
  bool editorOpen_ = false;
};

}  // namespace tarvik
