#pragma once

// The fixed numbers by which the program addresses its windows, gadgets and images.
namespace tarvik::gadget {

// Windows
inline constexpr int MiniWindow = 100;
inline constexpr int MainWindow = 101;
inline constexpr int NoticeWindow = 102;

// Gadgets
inline constexpr int MiniCanvas = 105;
inline constexpr int MainPanel = 127;
inline constexpr int FileStatusCanvas = 150;
inline constexpr int ProgressText = 160;
inline constexpr int AboutTitleText = 161;
inline constexpr int AboutMakerText = 162;
inline constexpr int NoticeText = 163;

// Tray images
inline constexpr int TrayIdleImage = 110;
inline constexpr int TrayReadImage = 111;
inline constexpr int TrayWriteImage = 112;
inline constexpr int TrayReadWriteImage = 113;

// Main-window panels, in tab order
inline constexpr int kPanelCount = 8;
inline constexpr int SystemPanel = 0;
inline constexpr int ProcessorsPanel = 1;
inline constexpr int GraphicsPanel = 2;
inline constexpr int StoragePanel = 3;
inline constexpr int NetworksPanel = 4;
inline constexpr int PingPanel = 5;
inline constexpr int SettingsPanel = 6;
inline constexpr int AboutPanel = 7;

}  // namespace tarvik::gadget
