#include "monitors/network/lookup_requests.h"

namespace tarvik {

bool LookupRequests::Due(int64_t tickMs) const {
  if (byUser_)
    return true;
  return automatic_ && (!lastStartMs_ || tickMs - *lastStartMs_ >= kAutomaticSpacingMs);
}

void LookupRequests::Started(int64_t tickMs) {
  automatic_ = false;
  byUser_ = false;
  lastStartMs_ = tickMs;
}

}  // namespace tarvik
