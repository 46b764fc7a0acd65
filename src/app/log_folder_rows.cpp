#include "app/log_folder_rows.h"

#include "core/path_text.h"
#include "text/translation.h"
#include "ui/gadget_ids.h"

namespace tarvik {
namespace {

using platform::GadgetAction;

constexpr std::wstring_view kAllFiles = L"*.*";

// The folder as the user typed it: blanks around it and a left-over "*.*" dropped, ending in
// "\". Nothing when no folder is left.
std::optional<std::wstring> EditedFolder(std::wstring text) {
  const size_t first = text.find_first_not_of(L" \t");
  if (first == std::wstring::npos)
    return std::nullopt;
  text = text.substr(first, text.find_last_not_of(L" \t") - first + 1);
  if (text.ends_with(kAllFiles))
    text.resize(text.size() - kAllFiles.size());
  if (text.empty())
    return std::nullopt;
  return WithTrailingBackslash(std::move(text));
}

}  // namespace

void LogFolderRows::Install(GadgetRoutes& routes) {
  const auto run = [](std::function<void()> action) {
    return [action = std::move(action)](const platform::GuiEvent&) {
      action();
      return LoopControl::Continue;
    };
  };
  routes.On(gadget::LogSetButton, GadgetAction::Click, run([this] {
              if (editorOpen_) {
                TakeEditedFolder();
              } else {
                OpenEditor();
              }
            }));
  routes.On(gadget::LogPortableButton, GadgetAction::Click,
            run([this] { UseFolder(ports_.FilePaths.Lock()->ProgramFolder); }));
  routes.On(gadget::LogDefaultButton, GadgetAction::Click, run([this] {
              const std::wstring folder = ports_.FilePaths.Lock()->DefaultDataFolder;
              static_cast<void>(ports_.Files.CreateFolder(folder));
              UseFolder(folder);
            }));
}

void LogFolderRows::CloseEditor() {
  ShowEditor(false);
  ports_.Gui.SetGadgetText(gadget::LogFolderField,
                           ports_.Texts.Get(slot::LogFolder) + std::wstring(kAllFiles));
}

void LogFolderRows::OpenEditor() {
  ShowEditor(true);
  ports_.Gui.SetGadgetText(gadget::LogFolderField, ports_.Texts.Get(slot::LogFolder));
}

void LogFolderRows::TakeEditedFolder() {
  const std::optional<std::wstring> folder =
      EditedFolder(ports_.Gui.GadgetText(gadget::LogFolderField));
  if (!folder || !ports_.PassesWriteTest(*folder)) {
    ports_.Gui.SetGadgetText(gadget::LogFolderField, Tr(L"Invalid or Protected Folder"));
    return;
  }
  UseFolder(*folder);
}

void LogFolderRows::UseFolder(const std::wstring& folder) {
  ports_.Texts.Set(slot::LogFolder, folder);
  CloseEditor();
  if (folderChanged_)
    folderChanged_();
}

void LogFolderRows::ShowEditor(bool open) {
  editorOpen_ = open;
  platform::Gui& gui = ports_.Gui;
  gui.SetTextFieldReadOnly(gadget::LogFolderField, !open);
  gui.EnableGadget(gadget::LogFolderField, open);
  gui.EnableGadget(gadget::LogPortableButton, open);
  gui.EnableGadget(gadget::LogDefaultButton, open);
}

}  // namespace tarvik
