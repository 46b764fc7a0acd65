#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/nvml.h"

namespace tarvik::fakes {

// One graphics card of the fake library. Values and texts are kept by function name, with the
// type argument after a slash where the call takes one ("nvmlDeviceGetClockInfo/2"); a name that
// has none reads as 0 or an empty text. `Fails` gives a function the status it returns instead;
// `FailsAll` makes every call about the card return it, its handle call included (a card that
// vanished, or one the process may not use). As the library does, the older count and handle
// calls do not see a card the process has no permission for, and the older initialisation fails
// while any card is in a bad state.
struct FakeGpu {
  std::map<std::string, unsigned long long> Values;
  std::map<std::string, std::string> Texts;
  std::map<std::string, platform::nvml::Return> Fails;
  platform::nvml::Return FailsAll = platform::nvml::kSuccess;
  // The card falls off the bus (every call then answers 15) after this many temperature
  // readings; never while negative.
  int LostAfterReadings = -1;
  std::vector<unsigned int> MemoryClocks;    // supported memory clocks
  std::vector<unsigned int> GraphicsClocks;  // supported graphics clocks
  int Calls = 0;                             // calls about this card, its handle call included
};

struct FakeNvmlBoard {
  platform::nvml::Return InitStatus = platform::nvml::kSuccess;  // of either initialisation
  std::string DriverVersion = "285.62";
  std::string NvmlVersion = "3.295.41";
  int CudaVersion = 4010;
  int CudaVersionV2 = 4020;
  std::vector<FakeGpu> Gpus;
  int Calls = 0;  // every call into the library
  // Runs inside every call about a card, on the caller's thread: a test may hold it there.
  std::function<void()> OnCardCall;
  int Shutdowns = 0;
};

// A card that answers every sample: 43 degrees, fan 41%, load 37% and 12%, clocks 1500 and 5000
// MHz of at most 2000 and 50, P2, 120.5 W of a 200 W default limit, 1 GB of 8 GB used.
FakeGpu WorkingFakeGpu();

// The one fake library of the process, emptied by ResetFakeNvml.
FakeNvmlBoard& FakeNvml();
void ResetFakeNvml();
// A table with every function bound to the fake library.
platform::nvml::Functions FakeNvmlFunctions();

}  // namespace tarvik::fakes
