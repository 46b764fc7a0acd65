#pragma once

namespace tarvik::platform {

enum class OptionalLibrary { Power, NetworkProvider, IpHelper, PerformanceData, Dns };
inline constexpr OptionalLibrary kOptionalLibraries[] = {
    OptionalLibrary::Power, OptionalLibrary::NetworkProvider, OptionalLibrary::IpHelper,
    OptionalLibrary::PerformanceData, OptionalLibrary::Dns};

// The system libraries the program can do without; each is loaded once at start.
class Libraries {
 public:
  virtual ~Libraries() = default;
  [[nodiscard]] virtual bool Load(OptionalLibrary library) = 0;
  virtual void UnloadAll() = 0;
};

}  // namespace tarvik::platform
