#include "monitors/gpu/gpu_card_status.h"

#include "text/translation.h"

namespace tarvik {
namespace {

namespace nvml = platform::nvml;

const wchar_t* StatusKey(nvml::Return status) {
  switch (status) {
    case nvml::kErrorNoPermission:
      return L"No permission";
    case nvml::kErrorInsufficientPower:
      return L"Insufficient power";
    case nvml::kErrorGpuIsLost:
      return L"GPU lost";
    case nvml::kErrorResetRequired:
      return L"Reset required";
    default:
      return L"Error";
  }
}

// Calls a function with the status of every reading of a sample.
template <typename Sample, typename Visit>
void ForEachStatus(Sample& sample, Visit visit) {
  for (auto& clock : sample.Clocks)
    visit(clock.Status);
  for (auto* status :
       {&sample.Utilization.Status, &sample.Fan.Status, &sample.PerformanceState.Status,
        &sample.PowerMilliwatts.Status, &sample.Temperature.Status, &sample.Memory.Status}) {
    visit(*status);
  }
}

}  // namespace

std::wstring CardStatusName(nvml::Return status) {
  return Tr(StatusKey(status));
}

std::wstring CardStatusText(nvml::Return status) {
  return CardStatusName(status) + L" (" + std::to_wstring(status) + L")";
}

bool SampleShowsLoss(const GpuSample& sample) {
  bool lost = false;
  ForEachStatus(sample,
                [&lost](nvml::Return status) { lost = lost || status == nvml::kErrorGpuIsLost; });
  return lost;
}

void PutOutOfReach(GpuDevice& device, nvml::Return status) {
  device.CardStatus = status;
  ForEachStatus(device.Sample, [status](nvml::Return& reading) { reading = status; });
  device.RowColour = kUnreachableCardColour;
}

}  // namespace tarvik
