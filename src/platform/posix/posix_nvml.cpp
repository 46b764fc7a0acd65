#include "platform/posix/posix_nvml.h"

#include <dlfcn.h>

namespace tarvik::posix {
namespace {

// The library stays loaded until the process ends, like on Windows.
class PosixNvmlLibrary : public platform::NvmlLibrary {
 public:
  explicit PosixNvmlLibrary(void* handle) {
    platform::nvml::BindByName(functions_,
                               [handle](const char* name) { return dlsym(handle, name); });
  }
  [[nodiscard]] const platform::nvml::Functions& Functions() const override { return functions_; }

 private:
  platform::nvml::Functions functions_;
};

}  // namespace

std::unique_ptr<platform::NvmlLibrary> LoadNvml() {
  void* handle = dlopen("libnvidia-ml.so.1", RTLD_NOW | RTLD_LOCAL);
  return handle ? std::make_unique<PosixNvmlLibrary>(handle) : nullptr;
}

}  // namespace tarvik::posix
