// Where the shared index of both engines lives.
#pragma once
#include <string>

namespace engine_index {

// HKCU key of the engines; value "IndexFolder" (REG_SZ) moves the index.
inline constexpr wchar_t kEngineKey[] = L"Software\\Zendri\\DesktopSearch";
inline constexpr wchar_t kIndexFolderValue[] = L"IndexFolder";

// The configured folder, else %LOCALAPPDATA%\ZendriDS\Index.
std::wstring IndexFolder();
std::wstring DefaultIndexFolder();

} // namespace engine_index
