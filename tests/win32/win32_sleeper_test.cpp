#include "platform/win32/win32_sleeper.h"

#include "unit/sleeper_contract.h"

namespace tarvik {
namespace {

TEST(Win32Sleeper, KeepsTheSleeperContract) {
  win32::Win32Sleeper sleeper;
  ExpectSleeperContract(sleeper);
}

}  // namespace
}  // namespace tarvik
