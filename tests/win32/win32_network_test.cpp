#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <vector>

#include "platform/win32/adapter_list_walk.h"
#include "platform/win32/win32_libraries.h"
#include "platform/win32/win32_network.h"

namespace tarvik::win32 {
namespace {

// Records `stride` bytes apart, as Wine lays them out (736 bytes per adapter: the record and a
// further address entry); the count comes from the links, whatever the size.
TEST(Win32Network, TheAdapterListIsCountedByItsLinks) {
  struct Case {
    size_t adapters;
    size_t stride;
  };
  for (const Case c : {Case{1, 736}, Case{3, 736}, Case{2, sizeof(IP_ADAPTER_INFO)}}) {
    std::vector<IP_ADAPTER_INFO> storage(c.adapters * c.stride / sizeof(IP_ADAPTER_INFO) + 2);
    auto* bytes = reinterpret_cast<std::byte*>(storage.data());
    const size_t size = c.adapters * c.stride;
    for (size_t i = 0; i < c.adapters; ++i) {
      auto* record = reinterpret_cast<IP_ADAPTER_INFO*>(bytes + i * c.stride);
      std::memset(record, 0, sizeof(IP_ADAPTER_INFO));
      record->Index = static_cast<DWORD>(10 + i);
      std::strcpy(record->Description, "eth");
      std::strcpy(record->IpAddressList.IpAddress.String, "10.0.0.1");
      record->Next = i + 1 < c.adapters
                         ? reinterpret_cast<IP_ADAPTER_INFO*>(bytes + (i + 1) * c.stride)
                         : nullptr;
    }
    const auto adapters = WalkAdapterList(bytes, size);
    ASSERT_EQ(adapters.size(), c.adapters) << c.stride;
    EXPECT_EQ(adapters.back().Index, 10 + c.adapters - 1);
    EXPECT_EQ(adapters.back().IpAddress, L"10.0.0.1");
  }
}

TEST(Win32Network, ALinkOutOfTheBufferEndsTheWalk) {
  std::vector<IP_ADAPTER_INFO> storage(2);
  storage[0].Next = &storage[1];
  storage[1].Next = &storage[0];  // a loop
  EXPECT_EQ(
      WalkAdapterList(reinterpret_cast<std::byte*>(storage.data()), 2 * sizeof(IP_ADAPTER_INFO))
          .size(),
      2u);
  EXPECT_EQ(
      WalkAdapterList(reinterpret_cast<std::byte*>(storage.data()), sizeof(IP_ADAPTER_INFO)).size(),
      1u);
}

// The machine's loopback interface has a row under an index the interface table lists.
TEST(Win32Network, TheInterfaceTableListsRowsThatCanBeRead) {
  Win32Libraries libraries;
  Win32Network network(libraries);
  EXPECT_FALSE(network.Available());
  ASSERT_TRUE(libraries.Load(platform::OptionalLibrary::IpHelper));
  ASSERT_TRUE(network.Available());
  const std::vector<uint32_t> indexes = network.InterfaceIndexes();
  ASSERT_FALSE(indexes.empty());
  bool readable = false;
  for (const uint32_t index : indexes)
    readable = readable || network.Interface(index).has_value();
  EXPECT_TRUE(readable);
  EXPECT_TRUE(network.Adapters().has_value());
}

// A change under the Internet settings key (a proxy, "work offline") is noticed, once per change.
// The IP Helper's notices are asked for too, but Wine never calls them back.
TEST(Win32Network, EachChangeOfTheInternetSettingsIsNoticedOnce) {
  Win32Libraries libraries;
  ASSERT_TRUE(libraries.Load(platform::OptionalLibrary::IpHelper));
  Win32Network network(libraries);
  EXPECT_FALSE(network.TakeChangeNotice());  // listening starts
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER,
                              L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", 0,
                              nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const auto noticed = [&network] {
    for (int wait = 0; wait < 200; ++wait) {
      if (network.TakeChangeNotice())
        return true;
      ::Sleep(10);
    }
    return false;
  };
  for (DWORD value = 0; value < 2; ++value) {
    ASSERT_EQ(::RegSetValueExW(key, L"TarvikTest", 0, REG_DWORD,
                               reinterpret_cast<const BYTE*>(&value), sizeof(value)),
              ERROR_SUCCESS);
    EXPECT_TRUE(noticed()) << value;
    EXPECT_FALSE(network.TakeChangeNotice()) << value;
  }
  ::RegDeleteValueW(key, L"TarvikTest");
  ::RegCloseKey(key);
}

}  // namespace
}  // namespace tarvik::win32
