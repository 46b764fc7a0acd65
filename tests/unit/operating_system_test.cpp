#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

#include "core/settings.h"
#include "core/text_slots.h"
#include "fakes/fake_system_info.h"
#include "sysinfo/operating_system.h"
#include "sysinfo/windows_name.h"

namespace tarvik {
namespace {

using platform::OsVersionRecord;

constexpr uint8_t kWorkstation = 1;
constexpr uint8_t kDomainController = 2;
constexpr uint8_t kServer = 3;
const std::wstring kKernel32Version = L"\\StringFileInfo\\040904B0\\ProductVersion";

OsVersionRecord Nt(uint32_t major, uint32_t minor, uint32_t build, uint8_t type,
                   uint16_t suite = 0) {
  return {major, minor, build, platform::kPlatformNt, L"", suite, type};
}

// A machine whose kernel32.dll carries the given product version (none when null).
struct Machine {
  fakes::FakeSystemIdentity System;
  fakes::FakeVersionResources Resources;

  Machine(std::optional<OsVersionRecord> kernel, const wchar_t* kernel32Version) {
    System.Kernel = kernel;
    if (kernel32Version) {
      Resources.Files[L"C:\\Windows\\system32\\kernel32.dll"] = {
          {{0x0409, 0x04B0}}, {{kKernel32Version, kernel32Version}}};
    }
  }
  OsDescription Describe() { return DescribeOperatingSystem(System, Resources); }
};

struct NameCase {
  const char* Name;
  OsVersionRecord Kernel;
  const wchar_t* Kernel32Version;
  const wchar_t* Expected;
  int32_t Build;
};

void PrintTo(const NameCase& c, std::ostream* out) {
  *out << c.Name;
}

class WindowsNameTest : public testing::TestWithParam<NameCase> {};

TEST_P(WindowsNameTest, NamesTheSystemAndKeepsTheLargerBuild) {
  const NameCase& c = GetParam();
  Machine machine(c.Kernel, c.Kernel32Version);
  const OsDescription description = machine.Describe();
  EXPECT_EQ(description.Name, c.Expected);
  EXPECT_EQ(description.Build, c.Build);
}

INSTANTIATE_TEST_SUITE_P(
    Systems, WindowsNameTest,
    testing::Values(
        NameCase{"Windows11Release23H2", Nt(10, 0, 22631, kWorkstation), L"10.0.22631.2506",
                 L"Windows 11 (23H2)", 22631},
        NameCase{"Windows10Release22H2", Nt(10, 0, 19045, kWorkstation), L"10.0.19045.3636",
                 L"Windows 10 (22H2)", 19045},
        NameCase{"BuildMissingFromTheTableHasNoSuffix", Nt(10, 0, 26100, kWorkstation),
                 L"10.0.26100.1", L"Windows 11", 26100},
        NameCase{"Windows11ReportingVersion62IsKnownByItsFile", Nt(6, 2, 9200, kWorkstation),
                 L"10.0.22621.1", L"Windows 11 (22H2)", 22621},
        NameCase{"Windows8BelowTheWindows11FileBuild", Nt(6, 2, 9200, kWorkstation),
                 L"6.2.9200.16384", L"Windows 8", 9200},
        NameCase{"OlderKernelVersionBesideANewerFileTakesNoReleaseName",
                 Nt(6, 1, 7601, kWorkstation), L"10.0.18362.1350", L"Windows 7", 18362},
        NameCase{"Windows8ReportedByWindows10TakesNoReleaseName", Nt(6, 2, 9200, kWorkstation),
                 L"10.0.19045.1", L"Windows 8", 19045},
        NameCase{"Server2019Release1809", Nt(10, 0, 17763, kServer), L"10.0.17763.1",
                 L"Windows Server 2019 (1809)", 17763},
        NameCase{"DomainControllerCountsAsServer", Nt(10, 0, 14393, kDomainController),
                 L"10.0.14393.0", L"Windows Server 2016 (1607)", 14393},
        NameCase{"Server2022FromItsFirstBuild", Nt(10, 0, 20348, kServer), L"10.0.20348.1",
                 L"Windows Server 2022", 20348},
        NameCase{"ServerBuildBelow2022StaysServer2019", Nt(10, 0, 20347, kServer), nullptr,
                 L"Windows Server 2019", 20347},
        NameCase{"WorkstationFileBuild20348IsWindows11", Nt(10, 0, 19045, kWorkstation),
                 L"10.0.20348.1", L"Windows 11", 20348},
        NameCase{"WorkstationBuild20347IsStillWindows10", Nt(10, 0, 20347, kWorkstation), nullptr,
                 L"Windows 10", 20347},
        NameCase{"KernelBuildNewerThanTheFileWins", Nt(10, 0, 19045, kWorkstation), L"10.0.19041.1",
                 L"Windows 10 (22H2)", 19045},
        NameCase{"FileBuildNewerThanTheKernelWins", Nt(10, 0, 22621, kWorkstation), L"10.0.22631.1",
                 L"Windows 11 (23H2)", 22631},
        NameCase{"UnreadableFileVersionLeavesTheKernelBuild", Nt(10, 0, 19044, kWorkstation),
                 L"10.0", L"Windows 10 (21H2)", 19044},
        NameCase{"Windows7ServicePack1", Nt(6, 1, 7601, kWorkstation), L"6.1.7601.24545",
                 L"Windows 7", 7601},
        NameCase{"Server2008R2", Nt(6, 1, 7601, kServer), nullptr, L"Windows Server 2008 R2", 7601},
        NameCase{"XpHomeByItsSuite", Nt(5, 1, 2600, kWorkstation, 0x0200), nullptr,
                 L"Windows XP Home Edition", 2600},
        NameCase{"XpProfessionalWithOtherSuites", Nt(5, 1, 2600, kWorkstation, 0x0100), nullptr,
                 L"Windows XP Professional", 2600},
        NameCase{"Xp64BitIsAWorkstation52", Nt(5, 2, 3790, kWorkstation), nullptr,
                 L"Windows XP 64-bit Edition", 3790},
        NameCase{"Nt4Server", Nt(4, 0, 1381, kServer), nullptr, L"Windows NT 4.0 Server", 1381},
        NameCase{"PreviewBuildBeforeWindows10IsUnknown", Nt(10, 0, 9926, kWorkstation), nullptr,
                 L"Unknown Windows", 9926},
        NameCase{"UnknownMinorVersionIsUnknown", Nt(6, 4, 9841, kWorkstation), nullptr,
                 L"Unknown Windows", 9841}),
    [](const testing::TestParamInfo<NameCase>& testCase) {
      return std::string(testCase.param.Name);
    });

struct FallbackCase {
  const char* Name;
  std::optional<OsVersionRecord> Kernel;
  std::optional<OsVersionRecord> Reported;
  const wchar_t* Expected;
};

void PrintTo(const FallbackCase& c, std::ostream* out) {
  *out << c.Name;
}

class WindowsFallbackTest : public testing::TestWithParam<FallbackCase> {};

// Without a usable kernel record the name comes from the version code, without a suffix, and the
// build number is kernel32.dll's alone.
TEST_P(WindowsFallbackTest, NamesTheSystemByItsVersionCode) {
  const FallbackCase& c = GetParam();
  Machine machine(c.Kernel, L"10.0.19045.1");
  machine.System.Reported = c.Reported;
  const OsDescription description = machine.Describe();
  EXPECT_EQ(description.Name, c.Expected);
  EXPECT_EQ(description.Build, 19045);
}

OsVersionRecord NotNt() {
  OsVersionRecord record = Nt(10, 0, 22631, kWorkstation);
  record.PlatformId = 1;
  return record;
}

INSTANTIATE_TEST_SUITE_P(
    Codes, WindowsFallbackTest,
    testing::Values(
        FallbackCase{"Windows10", std::nullopt, Nt(10, 0, 19045, kWorkstation), L"Windows 10"},
        FallbackCase{"Windows11", std::nullopt, Nt(10, 0, 22000, kWorkstation), L"Windows 11"},
        FallbackCase{"NewerMajorVersion", std::nullopt, Nt(11, 0, 30000, kWorkstation),
                     L"Windows 11+"},
        FallbackCase{"Server2012R2", std::nullopt, Nt(6, 3, 9600, kServer),
                     L"Windows Server 2012 R2"},
        FallbackCase{"KernelRecordOfAnotherPlatform", NotNt(), Nt(6, 1, 7601, kWorkstation),
                     L"Windows 7"},
        FallbackCase{"NothingReported", std::nullopt, std::nullopt, L"Windows"}),
    [](const testing::TestParamInfo<FallbackCase>& testCase) {
      return std::string(testCase.param.Name);
    });

TEST(BuildFromVersionText, TakesTheLeadingNumberOfTheThirdField) {
  EXPECT_EQ(BuildFromVersionText(L"10.0.22621.2506"), 22621);
  EXPECT_EQ(BuildFromVersionText(L"6.1.7601.24545 (win7sp1_ldr.190612-0600)"), 7601);
  EXPECT_EQ(BuildFromVersionText(L"10.0.22000"), 22000);
  EXPECT_EQ(BuildFromVersionText(L"10.0"), 0);
  EXPECT_EQ(BuildFromVersionText(L""), 0);
  EXPECT_EQ(BuildFromVersionText(L"10.0.beta"), 0);
  EXPECT_EQ(BuildFromVersionText(L"10.0.99999999999.1"), 0);  // no overflow into a build
}

TEST(ReadOperatingSystem, KeepsTheNameAndTheBuildForTheRestOfTheProgram) {
  Machine machine(Nt(10, 0, 22631, kWorkstation), L"10.0.22631.1");
  Settings settings;
  TextSlots texts;
  ReadOperatingSystem(machine.System, machine.Resources, settings, texts);
  EXPECT_EQ(texts.Get(slot::OsDescription), L"Windows 11 (23H2)");
  EXPECT_EQ(settings.Get(opt::OsBuildNumber), 22631);
}

}  // namespace
}  // namespace tarvik
