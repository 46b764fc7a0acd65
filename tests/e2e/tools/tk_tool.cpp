// tk-tool: a small console helper that lets the end-to-end tests talk to Tarvik.exe the way
// Windows itself or another program would. Results go to stdout; the exit code is 0 on
// success, 1 when the target was not found or the call failed, 2 on a usage error.
//
//   tk-tool post <registered message name>
//   tk-tool tab <exact window title>
//   tk-tool devicechange arrival|removal <drive letters>
//   tk-tool rect <exact window title>
//   tk-tool client <exact window title>
//   tk-tool font <face name>
//   tk-tool click <exact window title> <control caption>
//   tk-tool checked <exact window title> <control caption>
//   tk-tool close <exact window title> <client width>
//   tk-tool mount <drive letter> <Linux folder or -> <drive type> [<Linux device>]
//   tk-tool unmount <drive letter>
//   tk-tool volume <drive letter>
//   tk-tool dpichanged <exact window title> <dpi> <x> <y> <width> <height>
//   tk-tool layout <exact window title>
//   tk-tool moveto <exact window title> <x> <y>
//   tk-tool displaychange
//   tk-tool workarea
//   tk-tool tabto <exact window title> <tab index>

#include <windows.h>

#include <commctrl.h>
#include <dbt.h>
#include <winioctl.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tarvik::tool {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitNotFound = 1;
constexpr int kExitUsage = 2;
// A hung target must not hang the test that asked.
constexpr UINT kSendTimeoutMs = 5000;

struct TitleSearch {
  std::wstring Title;
  std::vector<HWND> Found;
};

// The class of the program's own windows.
constexpr wchar_t kProgramWindowClass[] = L"TarvikWindow";

std::wstring WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return text;
}

bool IsProgramWindow(HWND window) {
  wchar_t className[64] = {};
  GetClassNameW(window, className, static_cast<int>(std::size(className)));
  return std::wstring(className) == kProgramWindowClass;
}

// The program's windows whatever their titles say: a title message can stand in the main
// window's title for a while, and the mini window's title shows what the chosen title-bar mode
// shows.
BOOL CALLBACK CollectByTitle(HWND window, LPARAM search) {
  auto* wanted = reinterpret_cast<TitleSearch*>(search);
  if (WindowText(window) == wanted->Title || IsProgramWindow(window)) {
    wanted->Found.push_back(window);
  }
  return TRUE;
}

// Every top-level window with exactly this title or of the program's class, in z-order, hidden
// ones included.
std::vector<HWND> TopLevelWindows(const std::wstring& title) {
  TitleSearch search{title, {}};
  EnumWindows(CollectByTitle, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

BOOL CALLBACK FindTabControl(HWND child, LPARAM result) {
  wchar_t className[64] = {};
  GetClassNameW(child, className, static_cast<int>(std::size(className)));
  if (std::wstring(className) == WC_TABCONTROLW) {
    *reinterpret_cast<HWND*>(result) = child;
    return FALSE;
  }
  return TRUE;
}

int PostRegistered(const std::wstring& name) {
  const UINT message = RegisterWindowMessageW(name.c_str());
  if (message == 0 || !PostMessageW(HWND_BROADCAST, message, 0, 0)) {
    std::fwprintf(stderr, L"posting %ls failed: error %lu\n", name.c_str(), GetLastError());
    return kExitNotFound;
  }
  return kExitOk;
}

int PrintTabSelection(const std::wstring& title) {
  for (HWND window : TopLevelWindows(title)) {
    HWND tab = nullptr;
    EnumChildWindows(window, FindTabControl, reinterpret_cast<LPARAM>(&tab));
    if (tab == nullptr) {
      continue;
    }
    DWORD_PTR selection = 0;
    if (SendMessageTimeoutW(tab, TCM_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                            &selection) != 0) {
      // TCM_GETCURSEL answers -1 for "nothing selected"; keep the sign.
      std::printf("%d\n", static_cast<int>(static_cast<LRESULT>(selection)));
      return kExitOk;
    }
  }
  std::printf("-1\n");
  return kExitNotFound;
}

// "EF", "e:f", "E,F" all name drives E and F; anything but letters and separators is refused.
std::optional<DWORD> UnitMask(const std::wstring& letters) {
  DWORD mask = 0;
  for (wchar_t letter : letters) {
    if (letter == L':' || letter == L',' || letter == L' ' || letter == L'\\') {
      continue;
    }
    const wchar_t upper = static_cast<wchar_t>(std::towupper(letter));
    if (upper < L'A' || upper > L'Z') {
      return std::nullopt;
    }
    mask |= DWORD{1} << (upper - L'A');
  }
  if (mask == 0) {
    return std::nullopt;
  }
  return mask;
}

// Wine never sends WM_DEVICECHANGE itself; a broadcast SendMessage arrives with the volume
// record intact in every top-level window (BroadcastSystemMessage does not).
int SendDeviceChange(const std::wstring& kind, const std::wstring& letters) {
  WPARAM event = 0;
  if (kind == L"arrival") {
    event = DBT_DEVICEARRIVAL;
  } else if (kind == L"removal") {
    event = DBT_DEVICEREMOVECOMPLETE;
  } else {
    std::fwprintf(stderr, L"devicechange: expected arrival or removal, got %ls\n", kind.c_str());
    return kExitUsage;
  }
  const std::optional<DWORD> mask = UnitMask(letters);
  if (!mask) {
    std::fwprintf(stderr, L"devicechange: \"%ls\" is not a list of drive letters\n",
                  letters.c_str());
    return kExitUsage;
  }
  DEV_BROADCAST_VOLUME volume{};
  volume.dbcv_size = sizeof(volume);
  volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
  volume.dbcv_unitmask = *mask;
  DWORD_PTR answer = 0;
  if (SendMessageTimeoutW(HWND_BROADCAST, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(&volume),
                          SMTO_ABORTIFHUNG, kSendTimeoutMs, &answer) == 0) {
    std::fwprintf(stderr, L"devicechange: broadcast failed: error %lu\n", GetLastError());
    return kExitNotFound;
  }
  return kExitOk;
}

// Wine's mount manager defines and removes drive letters while programs run, as its own
// configuration tool does; the record's layout is Wine's (a fixed head, then the Linux folder as a
// string of bytes that the head points to).
struct UnixDriveRecord {
  ULONG Size;
  ULONG Type;
  ULONG FileSystemType;
  DWORD Serial;
  ULONGLONG UnixDevice;
  WCHAR Letter;
  USHORT MountPointOffset;
  USHORT DeviceOffset;
  USHORT LabelOffset;
};
constexpr DWORD kDefineUnixDrive =
    CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

// The record's strings as bytes of the system's code page (Wine reads them as Unix paths).
std::string UnixText(const std::wstring& text) {
  std::string bytes(text.size() * 4 + 1, '\0');
  const int length = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, bytes.data(),
                                         static_cast<int>(bytes.size()), nullptr, nullptr);
  bytes.resize(static_cast<size_t>(std::max(length, 1)));
  return bytes;
}

// <type> is the drive type (2 removable, 3 fixed, ...); an empty folder removes the letter. With a
// <device>, the letter stands for that device: a folder "-" then defines it without a medium (a
// card reader without its card, a disc drive without its disc), as Wine does for such devices.
int DefineDrive(const std::wstring& letter, const std::wstring& folder, ULONG type,
                const std::wstring& device = L"") {
  if (letter.size() != 1 || !std::iswalpha(letter[0]))
    return kExitUsage;
  const bool withMedium = !folder.empty() && folder != L"-";
  const std::string unixFolder = withMedium ? UnixText(folder) : std::string();
  const std::string unixDevice = device.empty() ? std::string() : UnixText(device);
  std::vector<char> buffer(sizeof(UnixDriveRecord) + unixFolder.size() + unixDevice.size() + 1);
  auto* record = reinterpret_cast<UnixDriveRecord*>(buffer.data());
  record->Size = static_cast<ULONG>(buffer.size());
  record->Letter = static_cast<WCHAR>(std::towlower(letter[0]));
  record->Type = folder.empty() ? DRIVE_NO_ROOT_DIR : type;
  size_t at = sizeof(*record);
  if (withMedium) {
    std::copy(unixFolder.begin(), unixFolder.end(), buffer.begin() + static_cast<ptrdiff_t>(at));
    record->MountPointOffset = static_cast<USHORT>(at);
    at += unixFolder.size();
  }
  if (!unixDevice.empty()) {
    std::copy(unixDevice.begin(), unixDevice.end(), buffer.begin() + static_cast<ptrdiff_t>(at));
    record->DeviceOffset = static_cast<USHORT>(at);
  }
  const HANDLE manager =
      CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (manager == INVALID_HANDLE_VALUE)
    return kExitNotFound;
  DWORD returned = 0;
  const BOOL done =
      DeviceIoControl(manager, kDefineUnixDrive, buffer.data(), static_cast<DWORD>(buffer.size()),
                      nullptr, 0, &returned, nullptr);
  CloseHandle(manager);
  if (!done)
    std::fwprintf(stderr, L"mount: error %lu\n", GetLastError());
  return done ? kExitOk : kExitNotFound;
}

// What the program would read of a drive: whether the system lists its letter, its type, its
// volume's serial, its free and total bytes, and its label ("listed 2 5A17-C0DE 1024/4096
// TKSTICK"); "none-<error>" or "nospace-<error>" for what cannot be read.
int PrintVolume(const std::wstring& letter) {
  if (letter.size() != 1 || !std::iswalpha(letter[0]))
    return kExitUsage;
  const std::wstring root =
      std::wstring(1, static_cast<wchar_t>(std::towupper(letter[0]))) + L":\\";
  const DWORD listedMask = GetLogicalDrives();
  const bool listed = (listedMask >> (root[0] - L'A')) & 1U;
  wchar_t label[MAX_PATH + 1] = {};
  DWORD serial = 0;
  SetErrorMode(SEM_FAILCRITICALERRORS);
  const BOOL read = GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, &serial, nullptr,
                                          nullptr, nullptr, 0);
  const DWORD volumeError = read ? 0 : GetLastError();
  ULARGE_INTEGER available{};
  ULARGE_INTEGER total{};
  const BOOL spaceRead = GetDiskFreeSpaceExW(root.c_str(), &available, &total, nullptr);
  const DWORD spaceError = spaceRead ? 0 : GetLastError();
  std::printf("%s %u ", listed ? "listed" : "unlisted", GetDriveTypeW(root.c_str()));
  if (read) {
    std::printf("%04lX-%04lX ", serial >> 16, serial & 0xFFFF);
  } else {
    std::printf("none-%lu ", volumeError);
  }
  if (spaceRead) {
    std::printf("%llu/%llu", available.QuadPart, total.QuadPart);
  } else {
    std::printf("nospace-%lu", spaceError);
  }
  std::printf(" %ls\n", label);
  return kExitOk;
}

// "rect": the outer rectangle of each window, x y w h. "client": its client area, the top-left
// corner on the screen and the size, whether it is visible, then the outer rectangle, so that a
// caller can match the window with the X window that Wine made for it (the client area alone
// under a window manager, the whole window when Wine draws the frame itself).
int PrintGeometry(const std::wstring& title, bool client) {
  const std::vector<HWND> windows = TopLevelWindows(title);
  for (HWND window : windows) {
    RECT outer{};
    RECT inner{};
    POINT origin{};
    if (!GetWindowRect(window, &outer)) {
      continue;
    }
    if (!client) {
      std::printf("%ld %ld %ld %ld\n", outer.left, outer.top, outer.right - outer.left,
                  outer.bottom - outer.top);
    } else if (GetClientRect(window, &inner) && ClientToScreen(window, &origin)) {
      std::printf("%ld %ld %ld %ld %d %ld %ld %ld %ld\n", origin.x, origin.y, inner.right,
                  inner.bottom, IsWindowVisible(window) ? 1 : 0, outer.left, outer.top,
                  outer.right - outer.left, outer.bottom - outer.top);
    }
  }
  return windows.empty() ? kExitNotFound : kExitOk;
}

// Prints the face that font mapping gives a request for <face>; succeeds only when that is the
// face asked for. Font mapping never fails: a face missing from the system is quietly replaced
// by another one, which shows only in what is drawn (caption buttons reading "0", "1", "r"
// where Marlett's symbols belong).
int PrintChosenFace(const std::wstring& face) {
  LOGFONTW request{};
  if (face.empty() || face.size() >= std::size(request.lfFaceName)) {
    std::fwprintf(stderr, L"font: \"%ls\" is not a face name\n", face.c_str());
    return kExitUsage;
  }
  face.copy(request.lfFaceName, face.size());
  request.lfHeight = -12;
  request.lfCharSet = DEFAULT_CHARSET;
  HFONT font = CreateFontIndirectW(&request);
  HDC screen = GetDC(nullptr);
  if (font == nullptr || screen == nullptr) {
    std::fwprintf(stderr, L"font: no font or no screen DC: error %lu\n", GetLastError());
    if (font != nullptr) {
      DeleteObject(font);
    }
    return kExitNotFound;
  }
  HGDIOBJ previous = SelectObject(screen, font);
  wchar_t chosen[LF_FACESIZE] = {};
  const int length = GetTextFaceW(screen, static_cast<int>(std::size(chosen)), chosen);
  SelectObject(screen, previous);
  ReleaseDC(nullptr, screen);
  DeleteObject(font);
  if (length <= 0) {
    std::fwprintf(stderr, L"font: GetTextFaceW failed: error %lu\n", GetLastError());
    return kExitNotFound;
  }
  char chosenUtf8[LF_FACESIZE * 4] = {};
  WideCharToMultiByte(CP_UTF8, 0, chosen, -1, chosenUtf8, static_cast<int>(std::size(chosenUtf8)),
                      nullptr, nullptr);
  std::printf("%s\n", chosenUtf8);
  return _wcsicmp(chosen, face.c_str()) == 0 ? kExitOk : kExitNotFound;
}

struct CaptionSearch {
  std::wstring Caption;
  HWND Found = nullptr;
};

BOOL CALLBACK FindByCaption(HWND control, LPARAM search) {
  auto* wanted = reinterpret_cast<CaptionSearch*>(search);
  if (WindowText(control) == wanted->Caption) {
    wanted->Found = control;
    return FALSE;
  }
  return TRUE;
}

// The first control with this caption in any window with this title.
HWND ControlByCaption(const std::wstring& title, const std::wstring& caption) {
  for (HWND window : TopLevelWindows(title)) {
    CaptionSearch search{caption, nullptr};
    EnumChildWindows(window, FindByCaption, reinterpret_cast<LPARAM>(&search));
    if (search.Found != nullptr) {
      return search.Found;
    }
  }
  std::fwprintf(stderr, L"no control \"%ls\" in a window \"%ls\"\n", caption.c_str(),
                title.c_str());
  return nullptr;
}

// Presses a button or check box as a click would: its parent hears BN_CLICKED.
int ClickControl(const std::wstring& title, const std::wstring& caption) {
  HWND control = ControlByCaption(title, caption);
  if (control == nullptr) {
    return kExitNotFound;
  }
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(control, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &answer);
  return kExitOk;
}

// Prints a check box's state: 0 unchecked, 1 checked, 2 indeterminate.
int PrintCheckState(const std::wstring& title, const std::wstring& caption) {
  HWND control = ControlByCaption(title, caption);
  if (control == nullptr) {
    return kExitNotFound;
  }
  DWORD_PTR state = 0;
  if (SendMessageTimeoutW(control, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &state) ==
      0) {
    return kExitNotFound;
  }
  std::printf("%u\n", static_cast<unsigned>(state));
  return kExitOk;
}

// Asks the window with this title and client width to close, as its close button would.
int CloseWindowOfWidth(const std::wstring& title, const std::wstring& width) {
  const long wanted = std::wcstol(width.c_str(), nullptr, 10);
  for (HWND window : TopLevelWindows(title)) {
    RECT client{};
    if (GetClientRect(window, &client) && client.right == wanted) {
      return PostMessageW(window, WM_CLOSE, 0, 0) ? kExitOk : kExitNotFound;
    }
  }
  return kExitNotFound;
}

// The program's window with a tab panel: its main window.
HWND MainWindowOf(const std::wstring& title) {
  for (HWND window : TopLevelWindows(title)) {
    HWND tab = nullptr;
    EnumChildWindows(window, FindTabControl, reinterpret_cast<LPARAM>(&tab));
    if (tab != nullptr) {
      return window;
    }
  }
  std::fwprintf(stderr, L"no window \"%ls\" with a tab panel\n", title.c_str());
  return nullptr;
}

std::optional<long> Number(const std::wstring& text) {
  wchar_t* end = nullptr;
  const long value = std::wcstol(text.c_str(), &end, 10);
  if (text.empty() || end == nullptr || *end != L'\0') {
    return std::nullopt;
  }
  return value;
}

// As the system tells a window that its monitor's DPI changed: the new DPI and the rectangle it
// suggests, which lies in the window's own process. Wine carries no pointer of this message
// from one process to another, so the rectangle is written into the program's memory first.
int SendDpiChanged(const std::wstring& title, const std::vector<std::wstring>& numbers) {
  std::vector<long> values;
  for (const std::wstring& number : numbers) {
    const std::optional<long> value = Number(number);
    if (!value) {
      std::fwprintf(stderr, L"dpichanged: \"%ls\" is not a number\n", number.c_str());
      return kExitUsage;
    }
    values.push_back(*value);
  }
  HWND window = MainWindowOf(title);
  DWORD process = 0;
  if (window == nullptr || GetWindowThreadProcessId(window, &process) == 0) {
    return kExitNotFound;
  }
  const RECT suggested{values[1], values[2], values[1] + values[3], values[2] + values[4]};
  HANDLE target = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, process);
  void* remote = target == nullptr ? nullptr
                                   : VirtualAllocEx(target, nullptr, sizeof(suggested),
                                                    MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  SIZE_T written = 0;
  const bool sent =
      remote != nullptr &&
      WriteProcessMemory(target, remote, &suggested, sizeof(suggested), &written) &&
      SendMessageTimeoutW(window, WM_DPICHANGED,
                          MAKEWPARAM(static_cast<WORD>(values[0]), static_cast<WORD>(values[0])),
                          reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, kSendTimeoutMs,
                          nullptr) != 0;
  if (remote != nullptr) {
    VirtualFreeEx(target, remote, 0, MEM_RELEASE);
  }
  if (target != nullptr) {
    CloseHandle(target);
  }
  if (!sent) {
    std::fwprintf(stderr, L"dpichanged: not delivered: error %lu\n", GetLastError());
  }
  return sent ? kExitOk : kExitNotFound;
}

struct LayoutSearch {
  HWND Main;
  std::vector<std::pair<int, RECT>> Controls;
};

bool IsTabPage(HWND window) {
  wchar_t className[64] = {};
  GetClassNameW(window, className, static_cast<int>(std::size(className)));
  return std::wstring(className) == L"TarvikPage";
}

BOOL CALLBACK CollectControl(HWND control, LPARAM search) {
  auto* layout = reinterpret_cast<LayoutSearch*>(search);
  const HWND parent = GetParent(control);
  const int id = GetDlgCtrlID(control);
  if (id <= 0 || (parent != layout->Main && !IsTabPage(parent))) {
    return TRUE;
  }
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, layout->Main, reinterpret_cast<POINT*>(&rect), 2);
  layout->Controls.emplace_back(id, rect);
  return TRUE;
}

// "layout": the main window's outer rectangle on the screen and its client size, then each
// control of the window and of its tab pages by id, with its rectangle in the client area:
//   window <x> <y> <width> <height>
//   client <width> <height>
//   control <id> <x> <y> <width> <height>
int PrintLayout(const std::wstring& title) {
  HWND window = MainWindowOf(title);
  RECT outer{};
  RECT client{};
  if (window == nullptr || !GetWindowRect(window, &outer) || !GetClientRect(window, &client)) {
    return kExitNotFound;
  }
  std::printf("window %ld %ld %ld %ld\n", outer.left, outer.top, outer.right - outer.left,
              outer.bottom - outer.top);
  LayoutSearch layout{window, {}};
  EnumChildWindows(window, CollectControl, reinterpret_cast<LPARAM>(&layout));
  std::sort(layout.Controls.begin(), layout.Controls.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  std::printf("client %ld %ld\n", client.right, client.bottom);
  for (const auto& [id, rect] : layout.Controls) {
    std::printf("control %d %ld %ld %ld %ld\n", id, rect.left, rect.top, rect.right - rect.left,
                rect.bottom - rect.top);
  }
  return kExitOk;
}

// Moves the main window as a user dragging it would, to screen pixels <x>, <y>.
int MoveMainWindow(const std::wstring& title, const std::wstring& x, const std::wstring& y) {
  const std::optional<long> left = Number(x);
  const std::optional<long> top = Number(y);
  if (!left || !top) {
    return kExitUsage;
  }
  HWND window = MainWindowOf(title);
  if (window == nullptr) {
    return kExitNotFound;
  }
  return SetWindowPos(window, nullptr, static_cast<int>(*left), static_cast<int>(*top), 0, 0,
                      SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE)
             ? kExitOk
             : kExitNotFound;
}

// Chooses a tab of the main window as a click on it would: the window hears that the selection
// changed.
int ChooseTab(const std::wstring& title, const std::wstring& index) {
  const std::optional<long> tab = Number(index);
  HWND window = tab ? MainWindowOf(title) : nullptr;
  HWND tabs = nullptr;
  if (window != nullptr) {
    EnumChildWindows(window, FindTabControl, reinterpret_cast<LPARAM>(&tabs));
  }
  if (tabs == nullptr) {
    return tab ? kExitNotFound : kExitUsage;
  }
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(*tab), 0, SMTO_ABORTIFHUNG,
                      kSendTimeoutMs, &answer);
  return kExitOk;
}

// The primary monitor's work area: x y w h.
int PrintWorkArea() {
  RECT area{};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0)) {
    return kExitNotFound;
  }
  std::printf("%ld %ld %ld %ld\n", area.left, area.top, area.right - area.left,
              area.bottom - area.top);
  return kExitOk;
}

// As the system tells every window that the displays changed (a monitor was unplugged).
int SendDisplayChange() {
  const LPARAM size = MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  if (SendMessageTimeoutW(HWND_BROADCAST, WM_DISPLAYCHANGE, 32, size, SMTO_ABORTIFHUNG,
                          kSendTimeoutMs, nullptr) == 0) {
    std::fwprintf(stderr, L"displaychange: broadcast failed: error %lu\n", GetLastError());
    return kExitNotFound;
  }
  return kExitOk;
}

struct IdSearch {
  int Id;
  HWND Found;
};

BOOL CALLBACK FindById(HWND child, LPARAM data) {
  auto* search = reinterpret_cast<IdSearch*>(data);
  if (GetDlgCtrlID(child) != search->Id) {
    return TRUE;
  }
  search->Found = child;
  return FALSE;
}

// Prints the screen rectangle (x y w h) of the first gadget with this id in a window with this
// title: where a test points the mouse to reach a canvas.
int PrintGadgetRect(const std::wstring& title, const std::wstring& id) {
  for (HWND window : TopLevelWindows(title)) {
    IdSearch search{static_cast<int>(std::wcstol(id.c_str(), nullptr, 10)), nullptr};
    EnumChildWindows(window, FindById, reinterpret_cast<LPARAM>(&search));
    RECT box{};
    if (search.Found != nullptr && GetWindowRect(search.Found, &box)) {
      std::printf("%ld %ld %ld %ld\n", box.left, box.top, box.right - box.left,
                  box.bottom - box.top);
      return kExitOk;
    }
  }
  return kExitNotFound;
}

int Usage() {
  std::fwprintf(stderr,
                L"usage: tk-tool post <message name>\n"
                L"       tk-tool tab <window title>\n"
                L"       tk-tool devicechange arrival|removal <letters>\n"
                L"       tk-tool rect <window title>\n"
                L"       tk-tool client <window title>\n"
                L"       tk-tool font <face name>\n"
                L"       tk-tool click <window title> <control caption>\n"
                L"       tk-tool checked <window title> <control caption>\n"
                L"       tk-tool gadget <window title> <gadget id>\n"
                L"       tk-tool close <window title> <client width>\n"
                L"       tk-tool mount <letter> <Linux folder or -> <drive type> [<device>]\n"
                L"       tk-tool unmount <letter>\n"
                L"       tk-tool volume <letter>\n"
                L"       tk-tool dpichanged <window title> <dpi> <x> <y> <width> <height>\n"
                L"       tk-tool layout <window title>\n"
                L"       tk-tool moveto <window title> <x> <y>\n"
                L"       tk-tool displaychange\n"
                L"       tk-tool workarea\n"
                L"       tk-tool tabto <window title> <tab index>\n");
  return kExitUsage;
}

int Run(const std::vector<std::wstring>& args) {
  if (args.size() == 2 && args[0] == L"post") {
    return PostRegistered(args[1]);
  }
  if (args.size() == 2 && args[0] == L"tab") {
    return PrintTabSelection(args[1]);
  }
  if (args.size() == 3 && args[0] == L"devicechange") {
    return SendDeviceChange(args[1], args[2]);
  }
  if (args.size() == 2 && (args[0] == L"rect" || args[0] == L"client")) {
    return PrintGeometry(args[1], args[0] == L"client");
  }
  if (args.size() == 2 && args[0] == L"font") {
    return PrintChosenFace(args[1]);
  }
  if (args.size() == 3 && args[0] == L"click") {
    return ClickControl(args[1], args[2]);
  }
  if (args.size() == 3 && args[0] == L"checked") {
    return PrintCheckState(args[1], args[2]);
  }
  if (args.size() == 3 && args[0] == L"gadget") {
    return PrintGadgetRect(args[1], args[2]);
  }
  if (args.size() == 3 && args[0] == L"close") {
    return CloseWindowOfWidth(args[1], args[2]);
  }
  if ((args.size() == 4 || args.size() == 5) && args[0] == L"mount") {
    return DefineDrive(args[1], args[2],
                       static_cast<ULONG>(std::wcstoul(args[3].c_str(), nullptr, 10)),
                       args.size() == 5 ? args[4] : L"");
  }
  if (args.size() == 2 && args[0] == L"volume") {
    return PrintVolume(args[1]);
  }
  if (args.size() == 2 && args[0] == L"unmount") {
    return DefineDrive(args[1], L"", DRIVE_NO_ROOT_DIR);
  }
  if (args.size() == 7 && args[0] == L"dpichanged") {
    return SendDpiChanged(args[1], {args.begin() + 2, args.end()});
  }
  if (args.size() == 2 && args[0] == L"layout") {
    return PrintLayout(args[1]);
  }
  if (args.size() == 4 && args[0] == L"moveto") {
    return MoveMainWindow(args[1], args[2], args[3]);
  }
  if (args.size() == 1 && args[0] == L"displaychange") {
    return SendDisplayChange();
  }
  if (args.size() == 1 && args[0] == L"workarea") {
    return PrintWorkArea();
  }
  if (args.size() == 3 && args[0] == L"tabto") {
    return ChooseTab(args[1], args[2]);
  }
  return Usage();
}

}  // namespace
}  // namespace tarvik::tool

// The wide entry point of -municode; declared here because no header does.
int wmain(int argc, wchar_t** argv);

int wmain(int argc, wchar_t** argv) {
  // Whatever happens inside, the caller gets an exit code, never an exception dialog.
  try {
    // Plain "\n" line ends: the callers read this output on Linux.
    _setmode(_fileno(stdout), _O_BINARY);
    // The program's windows in the screen's own pixels, whatever the DPI: a program that knows
    // nothing of DPI would be shown them scaled to 96.
    SetProcessDPIAware();
    std::vector<std::wstring> args(argv + 1, argv + argc);
    const int code = tarvik::tool::Run(args);
    std::fflush(stdout);
    return code;
  } catch (...) {
    return tarvik::tool::kExitNotFound;
  }
}
