// The yardstick for Tarvik's own cost: the smallest Win32 program that, like Tarvik, keeps a
// window and wakes on a 125 ms timer. scripts/bench.sh runs both under Wine and compares them.
// It ends on the same registered quit message as Tarvik.
#include <windows.h>

namespace {

constexpr UINT_PTR kTimer = 1;
constexpr UINT kTimerMs = 125;
UINT quitMessage = 0;
unsigned long ticks = 0;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) {
    ++ticks;
    return 0;
  }
  if (message == quitMessage || message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  quitMessage = RegisterWindowMessageW(L"WM_DEACTIVATEOLDINST_TK");
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = L"TarvikBaseline";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowExW(0, L"TarvikBaseline", L"Tarvik baseline", WS_OVERLAPPEDWINDOW,
                                100, 100, 234, 84, nullptr, nullptr, instance, nullptr);
  ShowWindow(window, SW_SHOWNORMAL);
  SetTimer(window, kTimer, kTimerMs, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
