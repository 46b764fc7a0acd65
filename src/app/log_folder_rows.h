#pragma once

#include <functional>
#include <string>

#include "app/gadget_routes.h"
#include "core/guarded.h"
#include "core/paths.h"
#include "core/text_slots.h"
#include "platform/files.h"
#include "platform/gui.h"
#include "settings/log_path.h"

namespace tarvik {

struct LogFolderPorts {
  platform::Gui& Gui;
  platform::FileSystem& Files;
  TextSlots& Texts;
  Guarded<Paths>& FilePaths;
  // The folder write test, bounded in time: a share gone offline must not hang the window.
  FolderWriteTest PassesWriteTest;
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
  void ShowEditor(bool open);

  LogFolderPorts ports_;
  std::function<void()> folderChanged_;
  bool editorOpen_ = false;
};

}  // namespace tarvik
