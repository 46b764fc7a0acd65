#include "fakes/fake_gui.h"

namespace tarvik::fakes {

FakeGui::Window* FakeGui::FindWindow(int id) {
  const auto found = Windows.find(id);
  return found == Windows.end() ? nullptr : &found->second;
}

const FakeGui::Window* FakeGui::FindWindow(int id) const {
  const auto found = Windows.find(id);
  return found == Windows.end() ? nullptr : &found->second;
}

bool FakeGui::SendSystemMessage(const platform::SystemMessage& message) {
  if (!Handler)
    return false;
  Handler->CountMessage();
  return Handler->OnSystemMessage(message);
}

uint32_t FakeGui::MessageId(const std::wstring& name) const {
  const auto found = Registered.find(name);
  return found == Registered.end() ? 0 : found->second;
}

bool FakeGui::OpenWindow(int id, const platform::WindowSpec& layout) {
  Window window;
  window.Layout = layout;
  window.Bounds = layout.Bounds;
  window.Visible = layout.Visible;
  Windows[id] = window;
  return true;
}

void FakeGui::CloseWindow(int id) {
  if (Windows.erase(id) == 0)
    return;
  ClosedWindows.push_back(id);
  std::erase_if(Gadgets, [id](const auto& entry) { return entry.second.Parent.Window == id; });
}

void FakeGui::ShowWindow(int id, platform::ShowMode mode) {
  Window* found = FindWindow(id);
  if (!found)
    return;
  Window& window = *found;
  switch (mode) {
    case platform::ShowMode::Hide:
      window.Visible = false;
      break;
    case platform::ShowMode::Show:
      window.Visible = true;
      break;
    case platform::ShowMode::Normal:
      window.Visible = true;
      window.Minimized = false;
      break;
    case platform::ShowMode::Minimize:
      window.Visible = true;
      window.Minimized = true;
      break;
  }
}

bool FakeGui::IsWindowVisible(int id) const {
  const Window* found = FindWindow(id);
  return found && found->Visible;
}

bool FakeGui::IsWindowMinimized(int id) const {
  const Window* found = FindWindow(id);
  return found && found->Minimized;
}

void FakeGui::MoveWindow(int id, platform::Point to) {
  if (Window* found = FindWindow(id)) {
    found->Bounds.X = to.X;
    found->Bounds.Y = to.Y;
  }
}

platform::Rect FakeGui::WindowBounds(int id) const {
  const Window* found = FindWindow(id);
  return found ? found->Bounds : platform::Rect{};
}

void FakeGui::SetWindowTitle(int id, const std::wstring& title) {
  if (Window* found = FindWindow(id))
    found->Layout.Title = title;
}

std::wstring FakeGui::WindowTitle(int id) const {
  const Window* found = FindWindow(id);
  return found ? found->Layout.Title : L"";
}

void FakeGui::SetAlwaysOnTop(int id, bool onTop) {
  if (Window* found = FindWindow(id))
    found->OnTop = onTop;
}

void FakeGui::RaiseWindow(int id) {
  if (Window* found = FindWindow(id))
    ++found->Raised;
}

void FakeGui::SetWindowAlpha(int id, int alpha) {
  if (Window* found = FindWindow(id))
    found->Alpha = alpha;
}

FakeGui::Gadget* FakeGui::Find(int id) {
  const auto found = Gadgets.find(id);
  return found == Gadgets.end() ? nullptr : &found->second;
}

const FakeGui::Gadget* FakeGui::Find(int id) const {
  const auto found = Gadgets.find(id);
  return found == Gadgets.end() ? nullptr : &found->second;
}

void FakeGui::CreatePanel(int id, const platform::GadgetParent& parent,
                          const platform::Rect& bounds,
                          const std::vector<std::wstring>& tabCaptions) {
  Gadget& gadget = Gadgets[id];
  gadget = Gadget{};
  gadget.Kind = "panel";
  gadget.Parent = parent;
  gadget.Bounds = bounds;
  gadget.Tabs = tabCaptions;
}

void FakeGui::SelectPanelTab(int id, int tab) {
  Gadget* gadget = Find(id);
  if (gadget && tab >= 0 && tab < static_cast<int>(gadget->Tabs.size()))
    gadget->SelectedTab = tab;
}

int FakeGui::SelectedPanelTab(int id) const {
  const Gadget* gadget = Find(id);
  return gadget ? gadget->SelectedTab : -1;
}

void FakeGui::CreateCanvas(int id, const platform::GadgetParent& parent,
                           const platform::Rect& bounds) {
  Gadget& gadget = Gadgets[id];
  gadget = Gadget{};
  gadget.Kind = "canvas";
  gadget.Parent = parent;
  gadget.Bounds = bounds;
  gadget.Pixels = std::make_unique<PixelCanvas>(bounds.Width, bounds.Height);
}

void FakeGui::DrawCanvas(int id, const std::function<void(platform::Canvas&)>& draw) {
  Gadget* gadget = Find(id);
  if (gadget && gadget->Pixels)
    draw(*gadget->Pixels);
}

void FakeGui::CreateText(int id, const platform::GadgetParent& parent, const platform::Rect& bounds,
                         const std::wstring& text) {
  Gadget& gadget = Gadgets[id];
  gadget = Gadget{};
  gadget.Kind = "text";
  gadget.Parent = parent;
  gadget.Bounds = bounds;
  gadget.Text = text;
  gadget.Font = DefaultFont;
  TextHistory[id] = text;
}

void FakeGui::SetGadgetText(int id, const std::wstring& text) {
  Gadget* gadget = Find(id);
  if (!gadget)
    return;
  gadget->Text = text;
  TextHistory[id] = text;
}

std::wstring FakeGui::GadgetText(int id) const {
  const Gadget* gadget = Find(id);
  return gadget ? gadget->Text : L"";
}

void FakeGui::SetGadgetFont(int id, platform::FontId font) {
  Gadget* gadget = Find(id);
  if (gadget)
    gadget->Font = font;
}

platform::FontId FakeGui::LoadFont(const std::wstring& name, int points,
                                   platform::FontStyle style) {
  Fonts.push_back({name, points, style});
  return static_cast<platform::FontId>(Fonts.size());
}

void FakeGui::CreateImage(int id, platform::Size size,
                          const std::function<void(platform::Canvas&)>& draw) {
  auto canvas = std::make_unique<PixelCanvas>(size.Width, size.Height);
  draw(*canvas);
  Images[id] = std::move(canvas);
}

bool FakeGui::AddTrayIcon(int window, int image, const std::wstring& tip) {
  if (!WindowExists(window) || Images.count(image) == 0)
    return false;
  TrayShown = true;
  TrayImage = image;
  TrayTip = tip;
  ++TrayAdds;
  return true;
}

void FakeGui::AddShortcut(int window, platform::Shortcut keys, int command) {
  Shortcuts.push_back({window, keys, command});
}

void FakeGui::StartTimer(int window, int timer, int milliseconds) {
  Timers[window] = {timer, milliseconds};
}

platform::GuiEvent FakeGui::WaitEvent(int /*timeoutMs*/) {
  if (OnWait)
    OnWait();
  if (Events.empty())
    return {platform::EventKind::Close, ExitWindow, 0, 0, {}};
  const platform::GuiEvent event = Events.front();
  Events.pop_front();
  return event;
}

uint32_t FakeGui::RegisterMessage(const std::wstring& name) {
  const auto found = Registered.find(name);
  if (found != Registered.end())
    return found->second;
  const auto id = static_cast<uint32_t>(0xC000 + Registered.size());
  Registered[name] = id;
  return id;
}

void FakeGui::SetMessageHandler(platform::MessageHandler* handler, int window) {
  Handler = handler;
  HandlerWindow = window;
}

void FakeGui::BlockShutdown(int window, const std::wstring& reason) {
  if (Window* found = FindWindow(window))
    found->ShutdownBlockReason = reason;
}

void FakeGui::UnblockShutdown(int window) {
  if (Window* found = FindWindow(window))
    found->ShutdownBlockReason.clear();
}

std::optional<std::wstring> FakeGui::AskSaveFile(const std::wstring& title, const std::wstring&) {
  DialogTitles.push_back(title);
  return NextDialogAnswer;
}

std::optional<std::wstring> FakeGui::AskOpenFile(const std::wstring& title, const std::wstring&) {
  DialogTitles.push_back(title);
  return NextDialogAnswer;
}

}  // namespace tarvik::fakes
