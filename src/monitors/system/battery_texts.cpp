#include "monitors/system/battery_texts.h"

#include "monitors/system/text_shapes.h"
#include "text/translation.h"

namespace tarvik {
namespace {

constexpr int kLowBatteryPercent = 20;
constexpr Colour kBatteryPink = Rgb(255, 203, 255);
constexpr Colour kBlack = Rgb(0, 0, 0);

std::wstring ChargingPart(bool charging) {
  return L", " + Tr(charging ? L"charging" : L"not charging");
}

}  // namespace

int BatteryPercentFromByte(uint8_t lifePercent) {
  return lifePercent <= 100 ? lifePercent : -1;
}

BatteryTexts MakeBatteryTexts(const BatteryReading& reading) {
  const bool plugged = reading.AcStatus != 0;
  if (reading.Percent < 0)
    return {Tr(L"None"), L""};
  if (reading.Percent >= 100) {
    return {L"100%", L" " + (plugged ? Tr(L"Fully charged")
                                     : Tr(L"Unplugged") + ChargingPart(reading.Charging))};
  }
  return {L" " + std::to_wstring(reading.Percent) + L"% ",
          L" " + Tr(plugged ? L"Plugged in" : L"Unplugged") + ChargingPart(reading.Charging)};
}

std::optional<std::wstring> BatteryEventText(const BatteryTexts& previous,
                                             const BatteryTexts& now) {
  const bool statusChanged = now.Status != previous.Status;
  if (now.Text == previous.Text && !statusChanged)
    return std::nullopt;
  std::wstring text = TrFixed(L"Batt") + L":" + system_text::Trimmed(now.Text);
  if (statusChanged)
    text += now.Status;
  return text;
}

bool BatteryBlinks(const BatteryReading& reading) {
  return reading.Percent >= 0 && reading.Percent <= kLowBatteryPercent && !reading.Charging;
}

MeterColours BatteryMeterColours(bool inverted) {
  return inverted ? MeterColours{kBlack, kBatteryPink} : MeterColours{kBatteryPink, kBlack};
}

}  // namespace tarvik
