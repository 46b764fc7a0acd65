// The Windows entry point: builds the Windows implementations of the platform interfaces and
// hands them to the program.
#include <windows.h>

#include "app/application.h"
#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_gui.h"
#include "platform/win32/win32_libraries.h"
#include "platform/win32/win32_processors.h"
#include "platform/win32/win32_single_instance.h"
#include "platform/win32/win32_system_identity.h"
#include "platform/win32/win32_version_resources.h"
#include "platform/win32/win32_wmi.h"

namespace {

int RunTarvik() {
  // Never destroyed: a monitor thread that did not stop in time may still read the shared
  // records until ExitProcess ends it.
  auto* gui = new tarvik::win32::Win32Gui();
  auto* files = new tarvik::win32::Win32FileSystem();
  auto* environment = new tarvik::win32::Win32Environment();
  auto* clock = new tarvik::win32::Win32Clock();
  auto* instance = new tarvik::win32::Win32SingleInstance();
  auto* libraries = new tarvik::win32::Win32Libraries();
  auto* system = new tarvik::win32::Win32SystemIdentity();
  auto* versions = new tarvik::win32::Win32VersionResources();
  auto* wmi = new tarvik::win32::Win32Wmi();
  auto* display = new tarvik::win32::Win32Display();
  auto* memory = new tarvik::win32::Win32Memory();
  auto* clipboard = new tarvik::win32::Win32Clipboard();
  auto* activity = new tarvik::win32::Win32UserActivity();
  auto* processors = new tarvik::win32::Win32Processors();
  auto* power = new tarvik::win32::Win32PowerSource();
  auto* application = new tarvik::Application(
      {*gui, *files, *environment, *clock, *instance, *libraries, *system, *versions, *wmi,
       *display, *memory, *clipboard, *activity, *processors, *power});
  return application->Run();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int exitCode = 1;
  try {
    exitCode = RunTarvik();
  } catch (...) {
    exitCode = 1;
  }
  ::ExitProcess(static_cast<UINT>(exitCode));
}
