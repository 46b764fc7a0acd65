#include "monitors/gpu/gpu_panel.h"

#include <algorithm>
#include <cstdio>

#include "core/fixed_lists.h"
#include "monitors/gpu/gpu_card_status.h"
#include "monitors/gpu/panel_rows.h"
#include "text/decimal_text.h"
#include "text/format_size.h"
#include "text/translation.h"

namespace tarvik {
namespace {

// By the library's driver model numbers.
constexpr const wchar_t* kDriverModels[] = {L"WDDM", L"WDM (TCC)", L"MCDM"};
constexpr int kTotalMemorySizeMode = 5;
constexpr uint64_t kMillijoulesPerKwh = 3'600'000'000;

std::wstring YesNo(int value) {
  return Tr(value != 0 ? L"Yes" : L"No");
}

std::wstring Watts(uint32_t milliwatts) {
  return std::to_wstring(milliwatts / 1000) + L" W";
}

std::wstring HexId(uint32_t id) {
  wchar_t text[16];
  std::swprintf(text, std::size(text), L"0x%08X", id);
  return text;
}

template <typename T>
void AddNumber(PanelRows& rows, const NvmlReading<T>& reading, std::wstring_view key,
               std::wstring_view suffix = L"") {
  rows.Add(reading.Status, Tr(key), static_cast<int64_t>(reading.Value), L"", suffix);
}

void AddText(PanelRows& rows, int status, std::wstring_view key, const std::wstring& value) {
  rows.Add(status, Tr(key), 0, value);
}

void AddModes(PanelRows& rows, const GpuFacts& facts) {
  const int model = facts.DriverModel.Value.Current;
  AddText(rows, facts.DriverModel.Status, L"Driver Model",
          model >= 0 && static_cast<size_t>(model) < std::size(kDriverModels)
              ? kDriverModels[model]
              : Tr(L"Unknown") + L" (" + std::to_wstring(model) + L")");
  AddText(rows, facts.Vbios.Status, L"VBIOS", facts.Vbios.Value);
  AddText(rows, facts.CudaCapability.Status, L"Cuda Capability", facts.CudaCapability.Value);
  constexpr const wchar_t* kInforomKeys[] = {L"InfoRom OEM", L"InfoRom ECC", L"InfoRom Power"};
  for (size_t i = 0; i < facts.Inforom.size(); ++i)
    AddText(rows, facts.Inforom[i].Status, kInforomKeys[i], facts.Inforom[i].Value);
  AddText(rows, facts.InforomImage.Status, L"InfoRom Image", facts.InforomImage.Value);
  if (facts.InforomChecksum.Status == kNvmlCorruptedInforom)
    AddText(rows, 0, L"InfoRom Checksum", Tr(L"Corrupted"));
  else
    rows.Add(facts.InforomChecksum.Status, Tr(L"InfoRom Checksum"), 0,
             HexId(facts.InforomChecksum.Value));
  AddText(rows, facts.EccCorrected.Status, L"ECC Errors",
          std::to_wstring(facts.EccCorrected.Value) + L" / " +
              std::to_wstring(facts.EccUncorrected.Value));
  AddText(rows, facts.EccMode.Status, L"ECC Mode", YesNo(facts.EccMode.Value.Current));
  AddText(rows, facts.OperationMode.Status, L"Operation Mode",
          std::to_wstring(facts.OperationMode.Value.Current));
  AddText(rows, facts.PersistenceMode.Status, L"Persistence Mode",
          YesNo(facts.PersistenceMode.Value));
  AddText(rows, facts.DisplayMode.Status, L"Display Mode", YesNo(facts.DisplayMode.Value));
  AddText(rows, facts.DisplayActive.Status, L"Display Active", YesNo(facts.DisplayActive.Value));
  AddText(rows, facts.ComputeMode.Status, L"Compute Mode",
          facts.ComputeMode.Value == 0 ? Tr(L"Default") : std::to_wstring(facts.ComputeMode.Value));
}

// The library counts energy in millijoules.
void AddPower(PanelRows& rows, const GpuFacts& facts) {
  AddNumber(rows, facts.TotalEnergy, L"Total Energy Used",
            L" mJ (" + DecimalText(facts.TotalEnergy.Value, kMillijoulesPerKwh, 3) + L" kWh)");
  AddText(rows, facts.PowerLimitEnforced.Status, L"Power Limit Enforced",
          Watts(facts.PowerLimitEnforced.Value));
  AddText(rows, facts.PowerLimitRange.Status, L"Power Limit Max",
          Watts(facts.PowerLimitRange.Value.Pending));
  AddText(rows, facts.PowerLimitRange.Status, L"Power Limit Min",
          Watts(facts.PowerLimitRange.Value.Current));
  AddText(rows, facts.PowerLimitDefault.Status, L"Power Limit Default",
          Watts(facts.PowerLimitDefault.Value));
  const NvmlReading<uint32_t>& shutdown = facts.Thresholds[2];
  const NvmlReading<uint32_t>& slowdown = facts.Thresholds[3];
  AddText(rows, shutdown.Status, L"Temperature Max",
          std::to_wstring(shutdown.Value) + L"C " + Tr(L"Shutdown") + L", " +
              std::to_wstring(slowdown.Value) + L"C " + Tr(L"Slowdown"));
}

void AddClocksAndBoard(PanelRows& rows, const GpuFacts& facts) {
  AddNumber(rows, facts.MaxClocks[kVideoClock], L"Video Clock Max", L" MHz");
  AddNumber(rows, facts.MaxClocks[kSmClock], L"SM Clock Max", L" MHz");
  AddNumber(rows, facts.MaxClocks[kMemoryClock], L"Memory Clock Max", L" MHz");
  AddNumber(rows, facts.MaxClocks[kGraphicsClock], L"GPU Clock Max", L" MHz");
  AddText(rows, facts.Memory.Status, L"Total Memory",
          FormatSize(static_cast<int64_t>(facts.Memory.Value.Total), kTotalMemorySizeMode));
  AddNumber(rows, facts.PcieReplays, L"PCIe Replay Counter");
  AddNumber(rows, facts.PcieWidthMax, L"PCIe Link Width Max", L"x");
  AddNumber(rows, facts.PcieWidth, L"PCIe Link Width", L"x");
  AddNumber(rows, facts.PcieGenerationMax, L"PCIe Link Gen Max");
  AddNumber(rows, facts.PcieGeneration, L"PCIe Link Gen");
  AddText(rows, facts.Pci.Status, L"PCI Bus ID", facts.Pci.Value.BusId);
  AddText(rows, facts.Pci.Status, L"Device ID", HexId(facts.Pci.Value.DeviceId));
  AddText(rows, facts.BoardId.Status, L"Board ID", HexId(facts.BoardId.Value));
  AddText(rows, facts.BoardPartNumber.Status, L"Board Part Number", facts.BoardPartNumber.Value);
  AddText(rows, facts.Brand.Status, L"Brand", GpuBrandName(facts.Brand.Value));
  AddText(rows, facts.Serial.Status, L"Serial Number", facts.Serial.Value);
}

std::wstring CardHeading(int index, const std::wstring& name) {
  return L"[" + std::to_wstring(index) + L"] " + name;
}

// A card whose handle could not be had has no facts: its heading says why.
void AddDevice(PanelRows& rows, int index, const GpuDevice& device) {
  if (device.HandleStatus != platform::nvml::kSuccess) {
    rows.AddHeading(CardHeading(index, CardStatusText(device.HandleStatus)));
    return;
  }
  AddModes(rows, device.Facts);
  AddPower(rows, device.Facts);
  AddClocksAndBoard(rows, device.Facts);
  std::wstring heading = CardHeading(index, device.Facts.Name.Value);
  if (device.CardStatus != platform::nvml::kSuccess)
    heading += L"  " + CardStatusText(device.CardStatus);
  rows.AddHeading(heading);
}

void AddUnshown(PanelRows& rows, int index, const NvmlReading<std::wstring>& name) {
  rows.AddHeading(CardHeading(
      index, name.Status == platform::nvml::kSuccess ? name.Value : CardStatusText(name.Status)));
}

}  // namespace

std::wstring GpuBrandName(int brand) {
  std::wstring_view names = kGpuBrandNames;
  for (int i = 0; brand >= 0; ++i) {
    const size_t end = std::min(names.find(L','), names.size());
    if (i == brand)
      return std::wstring(names.substr(0, end));
    if (end == names.size())
      break;
    names.remove_prefix(end + 1);
  }
  return GpuBrandName(0);
}

std::vector<std::wstring> GpuDetailRows(const NvmlSystem& system, const GpuCards& cards,
                                        bool showErrors, DateValue builtAt) {
  PanelRows rows(showErrors);
  rows.AddEmpty();
  rows.Add(0, Tr(L"NVidia Devices"), 0, std::to_wstring(cards.Count()));
  rows.Add(0, Tr(L"NVidia Cuda"), 0,
           DecimalText(static_cast<uint64_t>(std::max(system.CudaVersion, 0)), 1000, 2));
  rows.Add(0, Tr(L"NVidia Driver"), 0, system.DriverVersion);
  rows.Add(0, Tr(L"Software"), 0, system.NvmlVersion);
  rows.AddEmpty();
  const GpuDevices& devices = cards.Devices;
  for (size_t i = cards.UnshownNames.size(); i-- > 0;)
    AddUnshown(rows, static_cast<int>(devices.size() + i), cards.UnshownNames[i]);
  for (size_t i = devices.size(); i-- > 0;)
    AddDevice(rows, static_cast<int>(i), devices[i]);
  rows.AddHeading(FormatDate(L"%yyyy-%mm-%dd %hh:%ii:%ss", builtAt) + L" -- [F6]: " +
                  Tr(showErrors ? L"Showing Errors" : L"Active"));
  return rows.Rows();
}

std::vector<std::wstring> GpuRequirementRows() {
  PanelRows rows(false);
  for (const wchar_t* key :
       {L"No Supported Video Cards", L"Other brands will be supported soon.",
        L"- Not running in Safe Mode", L"- NVidia Drivers 285.62 or higher",
        L"- NVidia Geforce GT420 or higher", L"- Tarvik 64-bit edition", L"Requirements:"}) {
    rows.AddHeading(Tr(key));
  }
  return rows.Rows();
}

}  // namespace tarvik
