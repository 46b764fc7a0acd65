#include "sysinfo/windows_name.h"

#include <algorithm>
#include <limits>

namespace tarvik {
namespace {

struct Release {
  const wchar_t* Name;
  int32_t Build;
};

// The release table maps the builds of Windows 10 and 11 releases to their release names.
constexpr Release kReleases[] = {
    {L"1507", 10240}, {L"1511", 10586}, {L"1607", 14393}, {L"1703", 15063}, {L"1709", 16299},
    {L"1803", 17134}, {L"1809", 17763}, {L"1903", 18362}, {L"1909", 18363}, {L"2004", 19041},
    {L"20H2", 19042}, {L"21H1", 19043}, {L"21H2", 19044}, {L"22H2", 19045}, {L"21H2", 22000},
    {L"22H2", 22621}, {L"23H2", 22631}};

constexpr uint8_t kWorkstation = 1;
constexpr uint16_t kSuitePersonal = 0x200;

struct Pair {
  const wchar_t* Workstation;
  const wchar_t* Server;
};

const wchar_t* Pick(const platform::OsVersionRecord& kernel, Pair names) {
  return kernel.ProductType == kWorkstation ? names.Workstation : names.Server;
}

// The kernel reports an unsigned build; one beyond the range of the build number is clamped
// rather than wrapped to a negative number.
int32_t AsBuild(uint32_t build) {
  return static_cast<int32_t>(
      std::min<uint32_t>(build, static_cast<uint32_t>(std::numeric_limits<int32_t>::max())));
}

// A name, and whether the system it names has release names (Windows 10 and later).
struct Named {
  std::wstring Text;
  bool HasReleases = false;
};

Named Released(const wchar_t* text) {
  return {text, true};
}

Named NameWithoutSuffix(const platform::OsVersionRecord& kernel, int32_t build) {
  const bool workstation = kernel.ProductType == kWorkstation;
  const int32_t reported = AsBuild(kernel.Build);
  switch (kernel.Major) {
    case 3:
      return {Pick(kernel, {L"Windows NT 3.5 Workstation", L"Windows NT 3.5 Server"})};
    case 4:
      return {Pick(kernel, {L"Windows NT 4.0 Workstation", L"Windows NT 4.0 Server"})};
    case 5:
      if (kernel.Minor == 0)
        return {Pick(kernel, {L"Windows 2000 Workstation", L"Windows 2000 Server"})};
      if (kernel.Minor == 1) {
        return {(kernel.SuiteMask & kSuitePersonal) != 0 ? L"Windows XP Home Edition"
                                                         : L"Windows XP Professional"};
      }
      if (kernel.Minor == 2)
        return {Pick(kernel, {L"Windows XP 64-bit Edition", L"Windows Server 2003"})};
      break;
    case 6: {
      // Windows 11 in a compatibility mode reports version 6.2 or 6.3; its files tell the truth.
      const bool eleven = workstation && build >= kWindows11FileBuild;
      switch (kernel.Minor) {
        case 0:
          return {Pick(kernel, {L"Windows Vista", L"Windows Server 2008"})};
        case 1:
          return {Pick(kernel, {L"Windows 7", L"Windows Server 2008 R2"})};
        case 2:
          return eleven ? Released(L"Windows 11")
                        : Named{Pick(kernel, {L"Windows 8", L"Windows Server 2012"})};
        case 3:
          return eleven ? Released(L"Windows 11")
                        : Named{Pick(kernel, {L"Windows 8.1", L"Windows Server 2012 R2"})};
        default:
          break;
      }
      break;
    }
    case 10:
      if (workstation) {
        if (reported >= 22000 || build >= kWindows11FileBuild)
          return Released(L"Windows 11");
        if (reported > 10239)
          return Released(L"Windows 10");
      } else {
        if (reported > 20347)
          return Released(L"Windows Server 2022");
        if (reported > 17762)
          return Released(L"Windows Server 2019");
        if (reported > 14392)
          return Released(L"Windows Server 2016");
      }
      break;
    default:
      break;
  }
  // Preview builds older than the first release of a family also land here, rather than as an
  // empty name.
  return {L"Unknown Windows"};
}

}  // namespace

std::wstring ReleaseSuffix(int32_t build) {
  if (build < 1)
    return L"";
  for (const Release& release : kReleases) {
    if (release.Build == build)
      return std::wstring(L" (") + release.Name + L")";
  }
  return L"";
}

std::wstring WindowsName(const platform::OsVersionRecord& kernel, int32_t build) {
  // An older system's name beside a newer build comes from a kernel that reports an older
  // version to this program (a compatibility mode, or Wine's default prefix, whose kernel32.dll
  // carries a Windows 10 build); it takes no release name: Windows 7 never had a "1903".
  const Named name = NameWithoutSuffix(kernel, build);
  return name.HasReleases ? name.Text + ReleaseSuffix(build) : name.Text;
}

int WindowsVersionCode(const platform::OsVersionRecord& reported) {
  if (reported.PlatformId != platform::kPlatformNt)
    return 0;
  const bool workstation = reported.ProductType == kWorkstation;
  if (reported.Major > 10)
    return 200;
  if (reported.Major == 10)
    return workstation ? (reported.Build >= 22000 ? 120 : 110) : 0;
  if (reported.Major == 6 && reported.Minor <= 3) {
    constexpr int kWorkstationCodes[] = {70, 80, 90, 100};
    const int code = kWorkstationCodes[reported.Minor];
    return workstation ? code : code + 5;
  }
  if (reported.Major == 5) {
    if (reported.Minor == 0)
      return 50;
    if (reported.Minor == 1)
      return 60;
    if (reported.Minor == 2)
      return workstation ? 60 : 65;
  }
  return 0;
}

std::wstring WindowsNameForCode(int code) {
  switch (code) {
    case 50:
      return L"Windows 2000";
    case 60:
      return L"Windows XP";
    case 65:
      return L"Windows Server 2003";
    case 70:
      return L"Windows Vista";
    case 75:
      return L"Windows Server 2008";
    case 80:
      return L"Windows 7";
    case 85:
      return L"Windows Server 2008 R2";
    case 90:
      return L"Windows 8";
    case 95:
      return L"Windows Server 2012";
    case 100:
      return L"Windows 8.1";
    case 105:
      return L"Windows Server 2012 R2";
    case 110:
      return L"Windows 10";
    case 120:
      return L"Windows 11";
    case 200:
      return L"Windows 11+";
    default:
      return L"Windows";
  }
}

int32_t BuildFromVersionText(std::wstring_view version) {
  for (int field = 0; field < 2; ++field) {
    const size_t dot = version.find(L'.');
    if (dot == std::wstring_view::npos)
      return 0;
    version.remove_prefix(dot + 1);
  }
  while (!version.empty() && version.front() == L' ')
    version.remove_prefix(1);
  int64_t build = 0;
  size_t digits = 0;
  for (; digits < version.size() && version[digits] >= L'0' && version[digits] <= L'9'; ++digits) {
    build = build * 10 + (version[digits] - L'0');
    if (build > std::numeric_limits<int32_t>::max())
      return 0;
  }
  return static_cast<int32_t>(build);
}

}  // namespace tarvik
