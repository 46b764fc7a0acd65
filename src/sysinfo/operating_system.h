#pragma once

#include <cstdint>
#include <string>

#include "core/settings.h"
#include "core/text_slots.h"
#include "platform/system_identity.h"
#include "platform/version_resources.h"

namespace tarvik {

struct OsDescription {
  std::wstring Name;  // "Windows 11 (23H2)"
  int32_t Build = 0;  // the larger of kernel32.dll's build and the kernel's
};

// Names the running system from the kernel's version record and the version resource of
// kernel32.dll; systems without a usable kernel record are named by their version code.
[[nodiscard]] OsDescription DescribeOperatingSystem(platform::SystemIdentity& system,
                                                    platform::VersionResources& resources);

// Describes the system and keeps the result where the program reads it: the name in the
// operating-system slot, the build number in Settings (the drive scan tests it).
OsDescription ReadOperatingSystem(platform::SystemIdentity& system,
                                  platform::VersionResources& resources, Settings& settings,
                                  TextSlots& texts);

}  // namespace tarvik
