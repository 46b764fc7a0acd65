#pragma once

// Names of the entries of the shared Settings record. Every index the program uses is named
// here; code never addresses Settings by a bare number.
namespace tarvik::opt {

// Run-time state
inline constexpr int LanguageId = 1;
inline constexpr int LanguageCount = 2;
inline constexpr int TextLineHeight = 13;
inline constexpr int StopFlag = 14;
inline constexpr int PowerLibraryPresent = 21;
inline constexpr int CopyRequest = 26;
inline constexpr int OsBuildNumber = 29;  // the larger of kernel32.dll's build and the kernel's
inline constexpr int NetProviderLibraryPresent = 31;
inline constexpr int DriveLetterCount = 32;
// The storage monitor's passes until it reads the set of drive letters again; the window
// callback clears it on a volume removal notice, so that the next pass reads it.
inline constexpr int DriveSetCountdown = 39;
inline constexpr int HistoryRowLimit = 41;
inline constexpr int StorageRefreshRequest = 47;
inline constexpr int StorageResetRequest = 48;
inline constexpr int DriveChangeRequest = 49;
inline constexpr int QuitFlag = 52;
inline constexpr int EventLineLimit = 55;  // the most lines an event list holds
inline constexpr int PortableMode = 63;
inline constexpr int SettingsLoaded = 64;

// The on/off options saved as the 26 flags of the packed option string
inline constexpr int FirstFlag = 65;
inline constexpr int AlwaysOnTop = 65;
inline constexpr int ExtendedLogBuffering = 66;
inline constexpr int SingleClickTray = 67;
inline constexpr int DriveLedTray = 68;
inline constexpr int ExtendedHistory = 69;
inline constexpr int LogStorageEvents = 70;
inline constexpr int LogNetworkEvents = 71;
inline constexpr int LogDriveSpace = 72;
inline constexpr int LogSystemEvents = 73;
inline constexpr int RestoreEvents = 74;
inline constexpr int LogEnabled = 76;
inline constexpr int StartMinimized = 77;
inline constexpr int NetworkInPackets = 78;
inline constexpr int TransparentWindow = 79;
inline constexpr int PopUpOnDriveEvents = 80;
inline constexpr int RealTimeMemory = 81;
inline constexpr int RealTimeNetwork = 82;
inline constexpr int SoundEnabled = 83;
inline constexpr int TrayIconEnabled = 84;
inline constexpr int MinimizeToTray = 85;
inline constexpr int ComprehensivePingTimeline = 86;
inline constexpr int BorderlessWindow = 87;
inline constexpr int CloseToTray = 88;
inline constexpr int RememberPositions = 89;
inline constexpr int LastFlag = 90;

// Options saved beside the flags
inline constexpr int TransparencyStep = 50;
inline constexpr int TitleBarMode = 56;
inline constexpr int LongIdleChoice = 58;
inline constexpr int LongIdleSeconds = 59;

// Geometry
inline constexpr int MiniHeight = 93;
inline constexpr int MiniWidth = 94;
inline constexpr int MiniX = 95;
inline constexpr int MiniY = 96;
inline constexpr int MainX = 97;
inline constexpr int MainY = 98;

inline constexpr int IpHelperLibraryPresent = 101;
inline constexpr int NetworkRefreshRequest = 111;
inline constexpr int NetworkResetRequest = 112;
// The adapter filter selector: its chosen item, and the interface index it follows, 0 for all.
inline constexpr int AdapterFilterItem = 132;
inline constexpr int FilteredInterface = 133;
// The drive filter selector: its chosen item, and the drive (1-26) it follows, 0 for all.
inline constexpr int DriveFilterItem = 122;
inline constexpr int FollowedDrive = 123;
inline constexpr int StorageUnit = 125;
inline constexpr int RereadSystemTextRequest = 144;
inline constexpr int ResetSystemPanelRequest = 145;
inline constexpr int PanelSelectClicks = 150;
// The first desktop's mode as the System tab last reported it, which the desktop watch compares
// with the current one.
inline constexpr int ReportedDesktopWidth = 160;
inline constexpr int ReportedDesktopHeight = 161;
inline constexpr int ReportedDesktopScale = 162;  // percent, 100 at 96 DPI
inline constexpr int ReportedDesktopColourBits = 163;
inline constexpr int ReportedDesktopRefreshHz = 164;
inline constexpr int ReadoutGraph = 157;      // the graph of the last hover read-out
inline constexpr int ReadoutColumn = 158;     // its pixel column, counted from the right edge
inline constexpr int SelectedGpu = 189;       // -1 while no device is chosen
inline constexpr int FirstGpuGraph = 190;     // graph id of device 0; device n at + 10 x n
inline constexpr int SelectedGpuGraph = 191;  // graph id of the device shown
inline constexpr int GpuRefreshRequest = 195;
inline constexpr int GpuShowErrors = 196;
inline constexpr int GpuCount = 199;  // the cards the GPU monitor read
inline constexpr int NvmlPresent = 200;
inline constexpr int PdhLibraryPresent = 201;
inline constexpr int ProcessorCount = 202;
inline constexpr int ProcessorGridColumns = 203;
inline constexpr int ProcessorGridRows = 204;
inline constexpr int ProcessorGridGap = 205;
inline constexpr int ProcessorGridTop = 206;
inline constexpr int ProcessorGridWidth = 207;
inline constexpr int ProcessorGridHeight = 208;
inline constexpr int ProcessorColourLast = 212;
inline constexpr int FirstProcessorGraph = 214;
inline constexpr int PingStatusColour = 267;
inline constexpr int NextPingTime = 270;
inline constexpr int MaxPings = 271;
inline constexpr int PingNow = 273;
inline constexpr int PingIntervalChoice = 275;
inline constexpr int PingTimeout = 276;
inline constexpr int DnsLibraryPresent = 277;
inline constexpr int PingListBackColour = 287;
inline constexpr int SlowResponseChoice = 289;
inline constexpr int PingShowsAddresses = 291;
inline constexpr int FirstGraphColour = 301;

// The ping list's run-time fields. The window thread writes the requests; the ping coordinator
// carries each out on its next pass and clears it.
inline constexpr int PingHostCount = 800;        // published by the coordinator after each change
inline constexpr int PingIntervalSeconds = 801;  // the chosen interval
inline constexpr int SlowThreshold = 802;        // ms; 0 asks the coordinator to recompute it
inline constexpr int PingDeleteRequest = 807;    // 1 the selected hosts, -1 all
inline constexpr int PingResetRequest = 808;     // 1 the selected hosts, -1 all
inline constexpr int PingSortRequest = 809;      // column 1-7 of a header click
inline constexpr int PingRowHeight = 811;        // the list's layout, as last measured
inline constexpr int PingCharWidth = 812;
inline constexpr int PingTimelineX = 813;
inline constexpr int PingTimelineWidth = 814;
inline constexpr int PingFirstRow = 815;       // the list's first visible row (0-based)
inline constexpr int PingRedrawRequest = 816;  // the list's canvas changed size or scrolled

// The drive chosen in the Storage tab's drive filter (1-26, 0 every drive), kept while it is away;
// FollowedDrive is that drive while it is present.
inline constexpr int FollowedDriveChoice = 840;

// The metrics page. The Settings tab's check box and the settings file set the first three; the
// window thread starts and stops the listener and notes how it went.
inline constexpr int MetricsOn = 870;
inline constexpr int MetricsAddress = 871;  // IPv4, first octet in the lowest byte
inline constexpr int MetricsPort = 872;
inline constexpr int MetricsState = 873;  // a MetricsState

// Start values whose readers are not written yet; each takes its proper name with its reader.
inline constexpr int StartValue45 = 45;
inline constexpr int StartValue51 = 51;
inline constexpr int StartValue57 = 57;
inline constexpr int StartValue60 = 60;
inline constexpr int StartValue124 = 124;
inline constexpr int StartValue134 = 134;
inline constexpr int StartValue142 = 142;
inline constexpr int StartValue192 = 192;
inline constexpr int StartValue193 = 193;
inline constexpr int StartValue211 = 211;
inline constexpr int StartValue253 = 253;
inline constexpr int StartValue272 = 272;
inline constexpr int StartValue279 = 279;
inline constexpr int StartValue280 = 280;
inline constexpr int StartValue288 = 288;
inline constexpr int StartValue293 = 293;
inline constexpr int StartValue298 = 298;
inline constexpr int StartValue299 = 299;

}  // namespace tarvik::opt
