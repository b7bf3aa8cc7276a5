// The registry helpers through which both programs read, write and delete every setting.
// Each call opens the key it needs and closes it again; none raises, failures show in the result.
// On 64-bit Windows every key is opened in the 64-bit view, so the settings and the shell
// registrations of the 32-bit build land where 64-bit Explorer looks for them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// Machine-wide product key under HKEY_LOCAL_MACHINE and its subkeys.
inline constexpr const wchar_t* PRODUCT_KEY = L"SOFTWARE\\Corvane\\Corvane Blanko";
inline constexpr const wchar_t* OPTIONS_KEY = L"SOFTWARE\\Corvane\\Corvane Blanko\\Options";
inline constexpr const wchar_t* CONTEXTMENUS_KEY = L"SOFTWARE\\Corvane\\Corvane Blanko\\contextmenus";
inline constexpr const wchar_t* STATS_KEY = L"SOFTWARE\\Corvane\\Corvane Blanko\\Stats";

// Access masks: KEY_READ / KEY_ALL_ACCESS, plus KEY_WOW64_64KEY on 64-bit Windows.
REGSAM Registry_ReadMask();
REGSAM Registry_WriteMask();

bool Registry_KeyExists(HKEY Root, const std::wstring& SubKey);
bool Registry_CreateKey(HKEY Root, const std::wstring& SubKey);
bool Registry_ValueExists(HKEY Root, const std::wstring& SubKey, const std::wstring& Name);
std::wstring Registry_ReadString(HKEY Root, const std::wstring& SubKey, const std::wstring& Name);
int64_t Registry_ReadInt64(HKEY Root, const std::wstring& SubKey, const std::wstring& Name);
bool Registry_WriteValue(HKEY Root, const std::wstring& SubKey, const std::wstring& Name,
                         const void* Data, DWORD Size, DWORD Type);
bool Registry_WriteString(HKEY Root, const std::wstring& SubKey, const std::wstring& Name,
                          const std::wstring& Value);
bool Registry_WriteDWord(HKEY Root, const std::wstring& SubKey, const std::wstring& Name, DWORD Value);
bool Registry_WriteQWord(HKEY Root, const std::wstring& SubKey, const std::wstring& Name, int64_t Value);
bool Registry_DeleteValue(HKEY Root, const std::wstring& SubKey, const std::wstring& Name);
// Deletes the key with everything below it; true when it no longer exists afterwards.
bool Registry_DeleteKey(HKEY Root, const std::wstring& SubKey);
