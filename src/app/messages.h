#pragma once

namespace tarvik {

// Window messages registered by name, shared with other programs.
inline constexpr const wchar_t* kActivateMessageName = L"WM_ACTIVATEOLDINST_TK";
inline constexpr const wchar_t* kDeactivateMessageName = L"WM_DEACTIVATEOLDINST_TK";
inline constexpr const wchar_t* kTaskbarCreatedName = L"TaskbarCreated";

inline constexpr const wchar_t* kSingleInstanceMutexName = L"Tarvik";

}  // namespace tarvik
