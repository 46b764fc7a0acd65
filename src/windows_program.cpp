// Builds the Windows implementations of the platform interfaces and hands them to the program.
#include "windows_program.h"

#include "platform/os_call_count.h"
#include "platform/posix/curl_http.h"
#include "platform/posix/httplib_page_server.h"
#include "platform/win32/library_loading.h"
#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_drives.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_gui.h"
#include "platform/win32/win32_libraries.h"
#include "platform/win32/win32_nvml.h"
#include "platform/win32/win32_own_process.h"
#include "platform/win32/win32_network.h"
#include "platform/win32/win32_own_process.h"
#include "platform/win32/win32_performance_counters.h"
#include "platform/win32/win32_ping.h"
#include "platform/win32/win32_processors.h"
#include "platform/win32/win32_single_instance.h"
#include "platform/win32/win32_sleeper.h"
#include "platform/win32/win32_system_identity.h"
#include "platform/win32/win32_version_resources.h"
#include "platform/win32/win32_wmi.h"

namespace tarvik {

int RunOnWindows(const std::function<void(Application&)>& prepare) {
  win32::RestrictLibrarySearch();
  // Never destroyed: a monitor thread that did not stop in time may still read the shared
  // records until ExitProcess ends it.
  auto* gui = new win32::Win32Gui();
  auto* files = new win32::Win32FileSystem();
  auto* environment = new win32::Win32Environment();
  auto* clock = new win32::Win32Clock();
  auto* instance = new win32::Win32SingleInstance();
  auto* libraries = new win32::Win32Libraries();
  auto* system = new win32::Win32SystemIdentity();
  auto* versions = new win32::Win32VersionResources();
  auto* wmi = new win32::Win32Wmi();
  auto* display = new win32::Win32Display();
  auto* memory = new win32::Win32Memory();
  auto* clipboard = new win32::Win32Clipboard();
  auto* activity = new win32::Win32UserActivity();
  auto* processors = new win32::Win32Processors();
  auto* power = new win32::Win32PowerSource();
  auto* counters = new win32::Win32PerformanceCounters();
  auto* drives = new win32::Win32Drives(*libraries);
  auto* icmp = new win32::Win32IcmpEchoes();
  auto* names = new win32::Win32NameLookup(*libraries);
  auto* network = new win32::Win32Network(*libraries);
  auto* http = new curl::CurlHttp();
  auto* process = new win32::Win32OwnProcess();
  auto* sleeper = new win32::Win32Sleeper();
  auto* pageServer = new httplib_server::HttplibPageServer();
  auto* application =
      new Application({*gui, *files, *environment, *clock, *instance, *libraries, *system,
                       *versions, *wmi, *display, *memory, *clipboard, *activity, *processors,
                       *power, *counters, *drives, *icmp, *names, *network, *http, *process});
  application->UseNvml(win32::LoadNvml);
  application->UseSleeper(*sleeper);
  application->UseMetrics(*pageServer);
  if (prepare)
    prepare(*application);
  const int exitCode = application->Run();
  TARVIK_WRITE_COUNTED_OS_CALLS();
  return exitCode;
}

}  // namespace tarvik
