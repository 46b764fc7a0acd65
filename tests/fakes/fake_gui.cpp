#include "fakes/fake_gui.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/layout_scale.h"

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

void FakeGui::Note(const std::string& step, int id) {
  if (Steps)
    Steps->push_back(id == 0 ? step : step + " " + std::to_string(id));
}

void FakeGui::CheckWindowThread() const {
  if (std::this_thread::get_id() != windowThread_)
    ADD_FAILURE() << "a window-thread call came from another thread";
}

bool FakeGui::OpenWindow(int id, const platform::WindowSpec& layout) {
  CheckWindowThread();
  if (RefusedWindows.count(id))
    return false;
  Window window;
  window.Layout = layout;
  window.Bounds = layout.Bounds;
  window.Visible = layout.Visible;
  window.Dpi = MonitorDpi;
  Windows[id] = window;
  return true;
}

void FakeGui::CloseWindow(int id) {
  CheckWindowThread();
  if (Windows.erase(id) == 0)
    return;
  Note("close", id);
  ClosedWindows.push_back(id);
  for (auto& [gadgetId, gadget] : Gadgets) {
    if (gadget.Parent.Window == id && gadget.Pixels)
      ClosedCanvases[gadgetId] = std::move(gadget.Pixels);
  }
  std::erase_if(Gadgets, [id](const auto& entry) { return entry.second.Parent.Window == id; });
}

void FakeGui::ShowWindow(int id, platform::ShowMode mode) {
  CheckWindowThread();
  Window* found = FindWindow(id);
  if (!found)
    return;
  Window& window = *found;
  switch (mode) {
    case platform::ShowMode::Hide:
      Note("hide", id);
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
  CheckWindowThread();
  if (Window* found = FindWindow(id)) {
    found->Bounds.X = to.X;
    found->Bounds.Y = to.Y;
  }
}

platform::Rect FakeGui::WindowBounds(int id) const {
  const Window* found = FindWindow(id);
  if (!found)
    return {};
  if (found->Minimized && ReportParkingPlace)
    return {-32000, -32000, found->Bounds.Width, found->Bounds.Height};
  return found->Bounds;
}

void FakeGui::SetWindowTitle(int id, const std::wstring& title) {
  CheckWindowThread();
  if (Window* found = FindWindow(id))
    found->Layout.Title = title;
  Note("title", id);
}

std::wstring FakeGui::WindowTitle(int id) const {
  const Window* found = FindWindow(id);
  return found ? found->Layout.Title : L"";
}

void FakeGui::SetAlwaysOnTop(int id, bool onTop) {
  CheckWindowThread();
  if (Window* found = FindWindow(id))
    found->OnTop = onTop;
}

void FakeGui::RaiseWindow(int id) {
  CheckWindowThread();
  if (Window* found = FindWindow(id))
    ++found->Raised;
}

void FakeGui::SetWindowAlpha(int id, int alpha) {
  CheckWindowThread();
  if (Window* found = FindWindow(id))
    found->Alpha = alpha;
}

void FakeGui::SetWindowFrame(int id, platform::WindowFrame frame) {
  CheckWindowThread();
  if (Window* found = FindWindow(id))
    found->Layout.Frame = frame;
}

// The fake frame adds nothing: the window ends where the canvas ends.
void FakeGui::FitWindowToCanvas(int window, int canvas, platform::Size pixels) {
  CheckWindowThread();
  Window* found = FindWindow(window);
  Gadget* gadget = Find(canvas);
  if (!found || !gadget || !gadget->Pixels || pixels.Width < 1 || pixels.Height < 1)
    return;
  std::lock_guard<std::mutex> lock(*gadget->PixelsLock);
  gadget->Pixels = std::make_unique<PixelCanvas>(pixels.Width, pixels.Height);
  gadget->Pixels->SetDpi(found->Dpi);
  gadget->Bounds.Width = pixels.Width;
  gadget->Bounds.Height = pixels.Height;
  found->Bounds.Width = gadget->Bounds.Right();
  found->Bounds.Height = gadget->Bounds.Bottom();
}

platform::WindowFrame FakeGui::FrameOf(int id) const {
  const Window* found = FindWindow(id);
  return found ? found->Layout.Frame : platform::WindowFrame::Caption;
}

int FakeGui::WindowDpi(int id) const {
  const Window* found = FindWindow(id);
  return found ? found->Dpi : MonitorDpi;
}

void FakeGui::Rescale(int window, int dpi) {
  Window* found = FindWindow(window);
  if (!found)
    return;
  found->Dpi = dpi;
  for (auto& [id, gadget] : Gadgets) {
    if (gadget.Parent.Window != window || !gadget.Pixels)
      continue;
    const platform::Rect pixels = platform::ScaledBox(gadget.Bounds, dpi);
    std::lock_guard<std::mutex> lock(*gadget.PixelsLock);
    gadget.Pixels = std::make_unique<PixelCanvas>(pixels.Width, pixels.Height);
    gadget.Pixels->SetDpi(dpi);
  }
  Events.push_back({platform::EventKind::Rescaled, window, 0, dpi, {}});
}

std::vector<std::wstring> FakeGui::TextHistoryOfCanvas(int id) const {
  const PixelCanvas* canvas = nullptr;
  if (const Gadget* gadget = Find(id); gadget && gadget->Pixels) {
    canvas = gadget->Pixels.get();
  } else if (const auto closed = ClosedCanvases.find(id); closed != ClosedCanvases.end()) {
    canvas = closed->second.get();
  }
  std::vector<std::wstring> texts;
  if (canvas) {
    for (const auto& drawn : canvas->Texts())
      texts.push_back(drawn.Text);
  }
  return texts;
}

FakeGui::Gadget& FakeGui::Add(int id, const char* kind, const platform::GadgetParent& parent,
                              const platform::Rect& bounds, const std::wstring& text) {
  Gadget& gadget = Gadgets[id];
  gadget = Gadget{};
  gadget.Kind = kind;
  gadget.Parent = parent;
  gadget.Bounds = bounds;
  gadget.Text = text;
  gadget.Font = DefaultFont;
  TextHistory[id] = text;
  return gadget;
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
  CheckWindowThread();
  Add(id, "panel", parent, bounds).Tabs = tabCaptions;
}

void FakeGui::SelectPanelTab(int id, int tab) {
  CheckWindowThread();
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
  CheckWindowThread();
  const int dpi = WindowDpi(parent.Window);
  const platform::Rect pixels = platform::ScaledBox(bounds, dpi);
  Gadget& canvas = Add(id, "canvas", parent, bounds);
  canvas.Pixels = std::make_unique<PixelCanvas>(pixels.Width, pixels.Height);
  canvas.Pixels->SetDpi(dpi);
}

void FakeGui::DrawCanvas(int id, const std::function<void(platform::Canvas&)>& draw) {
  Gadget* gadget = Find(id);
  if (!gadget)
    return;
  std::lock_guard<std::mutex> lock(*gadget->PixelsLock);
  if (gadget->Pixels)
    draw(*gadget->Pixels);
}

platform::Size FakeGui::CanvasExtent(int id) const {
  const Gadget* gadget = Find(id);
  return gadget && gadget->Pixels ? gadget->Pixels->Extent() : platform::Size{};
}

void FakeGui::SetCanvasScroll(int id, int contentHeight, int step, int top) {
  CheckWindowThread();
  Gadget* gadget = Find(id);
  if (!gadget)
    return;
  gadget->ContentHeight = contentHeight;
  gadget->ScrollStep = step;
  gadget->Position = top;
}

int FakeGui::CanvasScrollTop(int id) const {
  const Gadget* gadget = Find(id);
  return gadget ? gadget->Position : 0;
}

void FakeGui::CreateText(int id, const platform::GadgetParent& parent, const platform::Rect& bounds,
                         const std::wstring& text) {
  CheckWindowThread();
  Add(id, "text", parent, bounds, text);
}

void FakeGui::SetGadgetText(int id, const std::wstring& text) {
  CheckWindowThread();
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
  CheckWindowThread();
  Gadget* gadget = Find(id);
  if (gadget)
    gadget->Font = font;
}

void FakeGui::EnableGadget(int id, bool enabled) {
  CheckWindowThread();
  if (Gadget* gadget = Find(id))
    gadget->Enabled = enabled;
}

bool FakeGui::IsGadgetEnabled(int id) const {
  const Gadget* gadget = Find(id);
  return gadget && gadget->Enabled;
}

void FakeGui::SetTooltip(int id, const std::wstring& tip) {
  CheckWindowThread();
  if (Gadget* gadget = Find(id))
    gadget->Tooltip = tip;
}

void FakeGui::CreateList(int id, const platform::GadgetParent& parent, const platform::Rect& bounds,
                         const std::vector<platform::ListColumn>& columns) {
  CheckWindowThread();
  Add(id, "list", parent, bounds).Columns = columns;
}

void FakeGui::SetListRows(int id, std::vector<std::wstring> rows) {
  CheckWindowThread();
  ListHistory[id] = rows;
  if (Gadget* gadget = Find(id))
    gadget->Rows = std::move(rows);
}

std::vector<std::wstring> FakeGui::ListRows(int id) const {
  const Gadget* gadget = Find(id);
  return gadget ? gadget->Rows : std::vector<std::wstring>{};
}

std::vector<platform::ListColumn> FakeGui::ListColumns(int id) const {
  const Gadget* gadget = Find(id);
  return gadget ? gadget->Columns : std::vector<platform::ListColumn>{};
}

void FakeGui::CreateSelector(int id, const platform::GadgetParent& parent,
                             const platform::Rect& bounds, const std::vector<std::wstring>& items) {
  CheckWindowThread();
  Add(id, "selector", parent, bounds).Rows = items;
}

void FakeGui::SetSelectorItems(int id, const std::vector<std::wstring>& items) {
  CheckWindowThread();
  if (Gadget* gadget = Find(id)) {
    gadget->Rows = items;
    gadget->Selected = -1;
  }
}

void FakeGui::SelectItem(int id, int index) {
  CheckWindowThread();
  Gadget* gadget = Find(id);
  if (gadget && index >= -1 && index < static_cast<int>(gadget->Rows.size()))
    gadget->Selected = index;
}

int FakeGui::SelectedItem(int id) const {
  const Gadget* gadget = Find(id);
  return gadget ? gadget->Selected : -1;
}

void FakeGui::CreateButton(int id, const platform::GadgetParent& parent,
                           const platform::Rect& bounds, const std::wstring& caption) {
  CheckWindowThread();
  Add(id, "button", parent, bounds, caption);
}

void FakeGui::CreateCheckBox(int id, const platform::GadgetParent& parent,
                             const platform::Rect& bounds, const std::wstring& caption) {
  CheckWindowThread();
  Add(id, "checkbox", parent, bounds, caption);
}

void FakeGui::SetCheckState(int id, platform::CheckState state) {
  CheckWindowThread();
  if (Gadget* gadget = Find(id))
    gadget->Check = state;
}

platform::CheckState FakeGui::GetCheckState(int id) const {
  const Gadget* gadget = Find(id);
  return gadget ? gadget->Check : platform::CheckState::Unchecked;
}

void FakeGui::CreateFrame(int id, const platform::GadgetParent& parent,
                          const platform::Rect& bounds, const std::wstring& caption) {
  CheckWindowThread();
  Add(id, "frame", parent, bounds, caption);
}

void FakeGui::CreateTextField(int id, const platform::GadgetParent& parent,
                              const platform::Rect& bounds, const std::wstring& text,
                              bool readOnly) {
  CheckWindowThread();
  Add(id, "field", parent, bounds, text).ReadOnly = readOnly;
}

void FakeGui::SetTextFieldReadOnly(int id, bool readOnly) {
  CheckWindowThread();
  if (Gadget* gadget = Find(id))
    gadget->ReadOnly = readOnly;
}

void FakeGui::CreateSlider(int id, const platform::GadgetParent& parent,
                           const platform::Rect& bounds, int minimum, int maximum) {
  CheckWindowThread();
  Gadget& gadget = Add(id, "slider", parent, bounds);
  gadget.Minimum = minimum;
  gadget.Maximum = maximum;
  gadget.Position = minimum;
}

void FakeGui::SetSliderPosition(int id, int position) {
  CheckWindowThread();
  if (Gadget* gadget = Find(id))
    gadget->Position = std::clamp(position, gadget->Minimum, gadget->Maximum);
}

int FakeGui::SliderPosition(int id) const {
  const Gadget* gadget = Find(id);
  return gadget ? gadget->Position : 0;
}

platform::FontId FakeGui::LoadFont(const std::wstring& name, int points,
                                   platform::FontStyle style) {
  CheckWindowThread();
  Fonts.push_back({name, points, style});
  return static_cast<platform::FontId>(Fonts.size());
}

void FakeGui::CreateImage(int id, platform::Size size,
                          const std::function<void(platform::Canvas&)>& draw) {
  CheckWindowThread();
  auto canvas = std::make_unique<PixelCanvas>(size.Width, size.Height);
  draw(*canvas);
  Images[id] = std::move(canvas);
}

bool FakeGui::AddTrayIcon(int window, int image, const std::wstring& tip) {
  CheckWindowThread();
  if (TrayRefused || !WindowExists(window) || Images.count(image) == 0)
    return false;
  TrayShown = true;
  TrayImage = image;
  TrayTip = tip;
  ++TrayAdds;
  return true;
}

void FakeGui::SetTrayImage(int image) {
  CheckWindowThread();
  TrayImage = image;
}

void FakeGui::SetTrayTip(const std::wstring& tip) {
  CheckWindowThread();
  TrayTip = tip;
}

void FakeGui::RemoveTrayIcon() {
  CheckWindowThread();
  TrayShown = false;
  Note("remove tray");
}

void FakeGui::AddShortcut(int window, platform::Shortcut keys, int command) {
  CheckWindowThread();
  Shortcuts.push_back({window, keys, command});
}

void FakeGui::StartTimer(int window, int timer, int milliseconds) {
  CheckWindowThread();
  Timers[window] = {timer, milliseconds};
}

void FakeGui::StopTimer(int window, int timer) {
  CheckWindowThread();
  const auto found = Timers.find(window);
  if (found != Timers.end() && found->second.first == timer)
    Timers.erase(found);
}

platform::GuiEvent FakeGui::WaitEvent(int /*timeoutMs*/) {
  CheckWindowThread();
  // Wakes come from the program's own threads at any moment: they are handed out without
  // running OnWait, so a test's steps follow its own events whatever the threads do meanwhile.
  if (Wakes.load() > wakesDelivered_) {
    wakesDelivered_ = Wakes.load();
    return {platform::EventKind::Wake, 0, 0, 0, {}};
  }
  if (OnWait)
    OnWait();
  if (!Events.empty()) {
    const platform::GuiEvent event = Events.front();
    Events.pop_front();
    return event;
  }
  if (Wakes.load() > wakesDelivered_) {
    wakesDelivered_ = Wakes.load();
    return {platform::EventKind::Wake, 0, 0, 0, {}};
  }
  return {platform::EventKind::Close, ExitWindow, 0, 0, {}};
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
  CheckWindowThread();
  Handler = handler;
  HandlerWindow = window;
  if (!handler)
    Note("remove callback");
}

void FakeGui::BlockShutdown(int window, const std::wstring& reason) {
  CheckWindowThread();
  if (Window* found = FindWindow(window))
    found->ShutdownBlockReason = reason;
}

void FakeGui::UnblockShutdown(int window) {
  CheckWindowThread();
  if (Window* found = FindWindow(window))
    found->ShutdownBlockReason.clear();
  Note("unblock", window);
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
