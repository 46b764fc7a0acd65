// The standard controls: lists, selectors, buttons, check boxes, frames, text fields, sliders,
// and the tooltips and enabled state they share.
#include "platform/win32/win32_gui.h"

#include <algorithm>

#include "platform/changed_areas.h"
#include "platform/layout_scale.h"

namespace tarvik::win32 {
namespace {

// A drop-down selector's window includes its open list: room for about a dozen items.
constexpr int kSelectorListHeight = 220;
// A plain list's one column fills it, less its frame and the room for its scroll bar.
constexpr int kListFrame = 4;

std::vector<int> ShownColumnWidths(const std::vector<platform::ListColumn>& columns,
                                   int listWidth) {
  if (columns.empty())
    return {listWidth - kListFrame - platform::kListScrollBarRoom};
  std::vector<int> widths;
  for (const platform::ListColumn& column : columns)
    widths.push_back(column.Width);
  return widths;
}

std::wstring ColumnOf(const std::wstring& row, int column) {
  size_t start = 0;
  for (int skipped = 0; skipped < column; ++skipped) {
    const size_t feed = row.find(L'\n', start);
    if (feed == std::wstring::npos)
      return L"";
    start = feed + 1;
  }
  const size_t end = row.find(L'\n', start);
  return row.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
}

}  // namespace

Win32Gui::Gadget* Win32Gui::FindGadgetOf(int id) {
  const auto found = gadgets_.find(id);
  return found == gadgets_.end() ? nullptr : &found->second;
}

void Win32Gui::PushGadgetEvent(int id, platform::GadgetAction action) {
  const Gadget* gadget = FindGadget(id);
  if (gadget)
    Push({platform::EventKind::Gadget, gadget->Window, id, static_cast<int>(action), {}});
}

void Win32Gui::EnableGadget(int id, bool enabled) {
  AssertWindowThread();
  if (const Gadget* gadget = FindGadget(id))
    ::EnableWindow(gadget->Hwnd, enabled ? TRUE : FALSE);
}

bool Win32Gui::IsGadgetEnabled(int id) const {
  const Gadget* gadget = FindGadget(id);
  return gadget && ::IsWindowEnabled(gadget->Hwnd);
}

HWND Win32Gui::TooltipWindow(int window) {
  if (const auto found = tooltips_.find(window); found != tooltips_.end())
    return found->second;
  const HWND owner = WindowHandle(window);
  if (!owner)
    return nullptr;
  const HWND tip =
      ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, instance_, nullptr);
  if (tip) {
    ::SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0,
                   platform::ScaledLength(kTooltipWidth, DpiOf(window)));
    tooltips_[window] = tip;
  }
  return tip;
}

void Win32Gui::SetTooltip(int id, const std::wstring& tip) {
  AssertWindowThread();
  const Gadget* gadget = FindGadget(id);
  if (!gadget)
    return;
  const HWND tooltip = TooltipWindow(gadget->Window);
  if (!tooltip)
    return;
  TTTOOLINFOW info{};
  info.cbSize = sizeof(info);
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = ::GetParent(gadget->Hwnd);
  info.uId = reinterpret_cast<UINT_PTR>(gadget->Hwnd);
  info.lpszText = const_cast<wchar_t*>(tip.c_str());
  // A second tooltip for the same gadget replaces the first.
  ::SendMessageW(tooltip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  ::SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void Win32Gui::CreateList(int id, const platform::GadgetParent& parent,
                          const platform::Rect& bounds,
                          const std::vector<platform::ListColumn>& columns) {
  AssertWindowThread();
  const bool plain = columns.empty();
  const DWORD style = LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_SINGLESEL |
                      LVS_NOSORTHEADER | WS_BORDER | WS_TABSTOP | (plain ? LVS_NOCOLUMNHEADER : 0);
  const HWND list = CreateChild(id, WC_LISTVIEWW, style, parent, bounds, L"", GadgetKind::List);
  if (!list)
    return;
  ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  const std::vector<platform::ListColumn> shown =
      plain ? std::vector<platform::ListColumn>{{L"", 0}} : columns;
  for (size_t index = 0; index < shown.size(); ++index) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT;
    column.pszText = const_cast<wchar_t*>(shown[index].Title.c_str());
    ::SendMessageW(list, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
  }
  Gadget& gadget = *FindGadgetOf(id);
  gadget.Columns = columns;
  SizeListColumns(gadget, DpiOf(parent.Window));
}

// The first column takes what the others, the frame and, in a list that leaves room for its
// scroll bar, the bar leave, counted in pixels so that rounding never makes the columns wider
// than the list. The bar is as wide as the system draws it at the monitor's DPI, which a layout
// made smaller to fit its work area does not shrink: columns reaching under it would bring a
// horizontal bar over the last row.
void Win32Gui::SizeListColumns(const Gadget& list, int dpi) {
  const std::vector<int> widths = ShownColumnWidths(list.Columns, list.Base.Width);
  int others = 0;
  int baseTotal = 0;
  for (size_t index = 0; index < widths.size(); ++index) {
    baseTotal += widths[index];
    if (index > 0)
      others += platform::ScaledLength(widths[index], dpi);
  }
  int barRoom = 0;
  if (baseTotal + kListFrame + platform::kListScrollBarRoom <= list.Base.Width) {
    barRoom = std::max(platform::ScaledLength(platform::kListScrollBarRoom, dpi),
                       ScrollBarWidth(MonitorDpiOf(WindowHandle(list.Window))));
  }
  const int first = platform::ScaledLength(list.Base.Width, dpi) -
                    platform::ScaledLength(kListFrame, dpi) - barRoom - others;
  ::SendMessageW(list.Hwnd, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(std::max(first, 0), 0));
  for (size_t index = 1; index < widths.size(); ++index) {
    ::SendMessageW(list.Hwnd, LVM_SETCOLUMNWIDTH, index,
                   MAKELPARAM(platform::ScaledLength(widths[index], dpi), 0));
  }
}

int Win32Gui::ScrollBarWidth(int dpi) const {
  if (user32_.GetSystemMetricsForDpi)
    return user32_.GetSystemMetricsForDpi(SM_CXVSCROLL, static_cast<UINT>(dpi));
  return ::GetSystemMetrics(SM_CXVSCROLL);
}

void Win32Gui::SetListRows(int id, std::vector<std::wstring> rows) {
  AssertWindowThread();
  Gadget* gadget = FindGadgetOf(id);
  if (!gadget || gadget->Kind != GadgetKind::List)
    return;
  // Only the rows whose texts changed are drawn again: a list whose first row alone changes
  // every second repaints that row, not its whole face.
  // A list that lost rows is drawn whole, so that no row it no longer has stays on screen.
  const platform::RowSpan changed = platform::ChangedRows(gadget->Rows, rows);
  const size_t before = gadget->Rows.size();
  gadget->Rows = std::move(rows);
  if (gadget->Rows.size() != before)
    ::SendMessageW(gadget->Hwnd, LVM_SETITEMCOUNT, gadget->Rows.size(),
                   LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
  // A list out of view (a hidden window, another tab) is drawn whole when it comes into view.
  if (!::IsWindowVisible(gadget->Hwnd))
    return;
  if (gadget->Rows.size() < before) {
    ::InvalidateRect(gadget->Hwnd, nullptr, FALSE);
    return;
  }
  // A row inserted at the top of a long history moves every row below it: only those in view
  // are drawn, since each row drawn costs the window server a round trip.
  const auto top = static_cast<size_t>(::SendMessageW(gadget->Hwnd, LVM_GETTOPINDEX, 0, 0));
  const auto perPage = static_cast<size_t>(::SendMessageW(gadget->Hwnd, LVM_GETCOUNTPERPAGE, 0, 0));
  const platform::RowSpan shown = platform::ShownRows(changed, top, perPage + 1);
  if (!shown.Empty())
    ::SendMessageW(gadget->Hwnd, LVM_REDRAWITEMS, shown.First, shown.Last - 1);
}

std::vector<std::wstring> Win32Gui::ListRows(int id) const {
  const Gadget* gadget = FindGadget(id);
  return gadget ? gadget->Rows : std::vector<std::wstring>{};
}

std::vector<platform::ListColumn> Win32Gui::ListColumns(int id) const {
  const Gadget* gadget = FindGadget(id);
  return gadget ? gadget->Columns : std::vector<platform::ListColumn>{};
}

// A list keeps no texts of its own: it asks for each cell as it draws it.
void Win32Gui::OnListDisplayInfo(NMLVDISPINFOW& info) {
  const Gadget* gadget = FindGadget(static_cast<int>(info.hdr.idFrom));
  if (!gadget || !(info.item.mask & LVIF_TEXT) || info.item.iItem < 0 ||
      info.item.iItem >= static_cast<int>(gadget->Rows.size())) {
    return;
  }
  listCellText_ = ColumnOf(gadget->Rows[static_cast<size_t>(info.item.iItem)], info.item.iSubItem);
  info.item.pszText = listCellText_.data();
}

void Win32Gui::CreateSelector(int id, const platform::GadgetParent& parent,
                              const platform::Rect& bounds,
                              const std::vector<std::wstring>& items) {
  AssertWindowThread();
  platform::Rect withList = bounds;
  withList.Height = std::max(bounds.Height, kSelectorListHeight);
  if (CreateChild(id, WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, parent, withList,
                  L"", GadgetKind::Selector)) {
    SetSelectorItems(id, items);
  }
}

void Win32Gui::SetSelectorItems(int id, const std::vector<std::wstring>& items) {
  AssertWindowThread();
  const Gadget* gadget = FindGadget(id);
  if (!gadget || gadget->Kind != GadgetKind::Selector)
    return;
  ::SendMessageW(gadget->Hwnd, CB_RESETCONTENT, 0, 0);
  for (const std::wstring& item : items)
    ::SendMessageW(gadget->Hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

void Win32Gui::SelectItem(int id, int index) {
  AssertWindowThread();
  if (const Gadget* gadget = FindGadget(id); gadget && gadget->Kind == GadgetKind::Selector)
    ::SendMessageW(gadget->Hwnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int Win32Gui::SelectedItem(int id) const {
  const Gadget* gadget = FindGadget(id);
  if (!gadget || gadget->Kind != GadgetKind::Selector)
    return -1;
  const LRESULT index = ::SendMessageW(gadget->Hwnd, CB_GETCURSEL, 0, 0);
  return index == CB_ERR ? -1 : static_cast<int>(index);
}

void Win32Gui::CreateButton(int id, const platform::GadgetParent& parent,
                            const platform::Rect& bounds, const std::wstring& caption) {
  AssertWindowThread();
  CreateChild(id, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, parent, bounds, caption,
              GadgetKind::Button);
}

// The program decides a check box's state (it may show "indeterminate" for an option that could
// not take effect), so a click only reports itself.
void Win32Gui::CreateCheckBox(int id, const platform::GadgetParent& parent,
                              const platform::Rect& bounds, const std::wstring& caption) {
  AssertWindowThread();
  CreateChild(id, L"BUTTON", BS_3STATE | WS_TABSTOP, parent, bounds, caption, GadgetKind::CheckBox);
}

void Win32Gui::SetCheckState(int id, platform::CheckState state) {
  AssertWindowThread();
  const Gadget* gadget = FindGadget(id);
  if (!gadget || gadget->Kind != GadgetKind::CheckBox)
    return;
  const WPARAM check = state == platform::CheckState::Checked         ? BST_CHECKED
                       : state == platform::CheckState::Indeterminate ? BST_INDETERMINATE
                                                                      : BST_UNCHECKED;
  ::SendMessageW(gadget->Hwnd, BM_SETCHECK, check, 0);
}

platform::CheckState Win32Gui::GetCheckState(int id) const {
  const Gadget* gadget = FindGadget(id);
  if (!gadget || gadget->Kind != GadgetKind::CheckBox)
    return platform::CheckState::Unchecked;
  switch (::SendMessageW(gadget->Hwnd, BM_GETCHECK, 0, 0)) {
    case BST_CHECKED:
      return platform::CheckState::Checked;
    case BST_INDETERMINATE:
      return platform::CheckState::Indeterminate;
    default:
      return platform::CheckState::Unchecked;
  }
}

void Win32Gui::CreateFrame(int id, const platform::GadgetParent& parent,
                           const platform::Rect& bounds, const std::wstring& caption) {
  AssertWindowThread();
  const HWND frame =
      CreateChild(id, L"BUTTON", BS_GROUPBOX, parent, bounds, caption, GadgetKind::Frame);
  // Behind the gadgets placed in it, so that it never hides them.
  if (frame)
    ::SetWindowPos(frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Win32Gui::CreateTextField(int id, const platform::GadgetParent& parent,
                               const platform::Rect& bounds, const std::wstring& text,
                               bool readOnly) {
  AssertWindowThread();
  const DWORD style = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | (readOnly ? ES_READONLY : 0);
  CreateChild(id, L"EDIT", style, parent, bounds, text, GadgetKind::Field);
}

void Win32Gui::SetTextFieldReadOnly(int id, bool readOnly) {
  AssertWindowThread();
  if (const Gadget* gadget = FindGadget(id); gadget && gadget->Kind == GadgetKind::Field)
    ::SendMessageW(gadget->Hwnd, EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
}

void Win32Gui::CreateSlider(int id, const platform::GadgetParent& parent,
                            const platform::Rect& bounds, int minimum, int maximum) {
  AssertWindowThread();
  const HWND slider = CreateChild(id, TRACKBAR_CLASSW, TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP,
                                  parent, bounds, L"", GadgetKind::Slider);
  if (slider)
    ::SendMessageW(slider, TBM_SETRANGE, TRUE, MAKELPARAM(minimum, maximum));
}

void Win32Gui::SetSliderPosition(int id, int position) {
  AssertWindowThread();
  if (const Gadget* gadget = FindGadget(id); gadget && gadget->Kind == GadgetKind::Slider)
    ::SendMessageW(gadget->Hwnd, TBM_SETPOS, TRUE, position);
}

int Win32Gui::SliderPosition(int id) const {
  const Gadget* gadget = FindGadget(id);
  if (!gadget || gadget->Kind != GadgetKind::Slider)
    return 0;
  return static_cast<int>(::SendMessageW(gadget->Hwnd, TBM_GETPOS, 0, 0));
}

void Win32Gui::OnControlCommand(WPARAM wParam) {
  const int id = LOWORD(wParam);
  const Gadget* gadget = FindGadget(id);
  if (!gadget)
    return;
  const WORD code = HIWORD(wParam);
  switch (gadget->Kind) {
    case GadgetKind::Button:
    case GadgetKind::CheckBox:
      if (code == BN_CLICKED)
        PushGadgetEvent(id, platform::GadgetAction::Click);
      break;
    case GadgetKind::Selector:
      if (code == CBN_SELCHANGE)
        PushGadgetEvent(id, platform::GadgetAction::Change);
      break;
    case GadgetKind::Field:
      if (code == EN_CHANGE)
        PushGadgetEvent(id, platform::GadgetAction::Change);
      break;
    default:
      break;
  }
}

void Win32Gui::OnSliderScroll(LPARAM lParam) {
  const HWND control = reinterpret_cast<HWND>(lParam);
  if (!control)
    return;
  const int id = ::GetDlgCtrlID(control);
  const Gadget* gadget = FindGadget(id);
  if (gadget && gadget->Kind == GadgetKind::Slider)
    PushGadgetEvent(id, platform::GadgetAction::Change);
}

}  // namespace tarvik::win32
