#pragma once

// The fixed numbers by which the program addresses its windows, gadgets and images.
namespace tarvik::gadget {

// Windows
inline constexpr int MiniWindow = 100;
// Not a gadget: the update-queue target of the mini window's title, shown by its one owner.
inline constexpr int MiniWindowTitle = 99;
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
// About tab: the program's own cost
inline constexpr int OwnCostCanvas = 670;

// The history graphs have the ids from 301 upward, one per series: 301-303 and 307 on the
// System tab, 304 and 308 on the Storage tab, 305 and 306 on the Networks tab.
inline constexpr int FirstHistoryGraph = 301;

// System tab
inline constexpr int LogoCanvas = 156;
inline constexpr int PhysicalGraph = 301;
inline constexpr int PageFileGraph = 302;
inline constexpr int ProcessorSpeedGraph = 303;
inline constexpr int AverageLoadGraph = 307;
inline constexpr int BatteryList = 209;
inline constexpr int PhysicalList = 133;
inline constexpr int PageFileList = 134;
inline constexpr int ProcessorsList = 135;
inline constexpr int SystemEventsList = 129;

// Processors tab
inline constexpr int ProcessorInfoList = 210;
inline constexpr int ProcessorLoadList = 211;
inline constexpr int StatusCanvas = 151;
inline constexpr int TimeSpanCanvas = 152;

// Graphics tab
inline constexpr int GpuSelector = 183;
inline constexpr int GpuList = 136;
inline constexpr int GpuDetailList = 140;
// The six canvases of the selected card's graphs, 170-175.
inline constexpr int FirstGpuGraphCanvas = 170;
// The selected card's temperature history, under its six graphs.
inline constexpr int GpuTemperatureGraph = 155;

// Storage tab
inline constexpr int StorageUnitSelector = 182;
inline constexpr int DriveFilterSelector = 181;
inline constexpr int DriveList = 137;
inline constexpr int DriveEventsList = 131;
inline constexpr int DriveReadGraph = 304;
inline constexpr int DriveWriteGraph = 308;

// Networks tab
inline constexpr int NetworkUnitSelector = 186;
inline constexpr int AdapterFilterSelector = 185;
inline constexpr int AdapterList = 138;
inline constexpr int AdapterDetailList = 139;
inline constexpr int NetworkEventsList = 130;
inline constexpr int NetworkSendGraph = 305;
inline constexpr int NetworkReceiveGraph = 306;

// Ping tab
inline constexpr int PingShowSelector = 187;
inline constexpr int PingAddButton = 146;
inline constexpr int PingDeleteButton = 147;
inline constexpr int PingNowButton = 148;
inline constexpr int PingResetButton = 149;
inline constexpr int PingIntervalSelector = 188;
inline constexpr int SlowResponseSelector = 189;
inline constexpr int PingHostEntry = 176;         // a host name, or an address in address mode
inline constexpr int PingDescriptionEntry = 177;  // the address's description
inline constexpr int PingHeaderCanvas = 178;      // column titles or the message
inline constexpr int PingListCanvas = 179;        // the rows and their timelines, scrolling

// Settings tab
inline constexpr int LongIdleSelector = 184;
inline constexpr int TitleBarSelector = 190;
inline constexpr int FirstSettingsFrame = 600;   // 600-605, one per group
inline constexpr int FirstOptionCheckBox = 610;  // one per check box, in table order
inline constexpr int LongIdleLabel = 640;
inline constexpr int TitleBarLabel = 641;
inline constexpr int TransparencySlider = 642;
inline constexpr int LogPortableButton = 650;
inline constexpr int LogDefaultButton = 651;
inline constexpr int LogFolderField = 652;
inline constexpr int LogSetButton = 653;
inline constexpr int LogExplorerButton = 654;
inline constexpr int LogStatusField = 228;  // the log buffer's pending lines and capacity
inline constexpr int ImportButton = 655;
inline constexpr int ExportButton = 656;
inline constexpr int MetricsFrame = 660;     // the metrics page's row: its group
inline constexpr int MetricsCheckBox = 661;  // served or not
inline constexpr int MetricsAddressText = 662;
inline constexpr int MetricsStateText = 663;  // how the listener fares

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
