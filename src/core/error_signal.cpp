#include "core/error_signal.h"

namespace tarvik {

void ErrorSignal(const Settings& settings, platform::Environment& environment) {
  if (settings.IsOn(opt::SoundEnabled))
    environment.Beep(1000, 55);
}

}  // namespace tarvik
