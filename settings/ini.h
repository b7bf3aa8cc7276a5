// Reading single values from INI files (skin descriptions). Each call reads the file afresh.
#pragma once

#include <cstdint>
#include <string>

// A colour as skin files and forms carry it: 0x00BBGGRR for plain colours, 0xFF0000nn for the
// system colour with index nn, plus the special values below.
using TColor = int32_t;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;

bool Ini_ValueExists(const std::wstring& FileName, const std::wstring& Section, const std::wstring& Key);
int Ini_ReadInteger(const std::wstring& FileName, const std::wstring& Section, const std::wstring& Key);
std::wstring Ini_ReadString(const std::wstring& FileName, const std::wstring& Section, const std::wstring& Key);
// "$RRGGBB" and "$AARRGGBB" are written in red-green-blue order in skin files; colour names
// ("clWhite") and plain numbers keep the blue-green-red order. Missing or unreadable: 0 (black).
TColor Ini_ReadColor(const std::wstring& FileName, const std::wstring& Section, const std::wstring& Key);

// Colour text conversion: a colour name or a number ("$" hexadecimal in blue-green-red order).
bool Color_FromText(const std::wstring& Text, TColor& Color);
// A plain RGB value for drawing: system colours are looked up.
unsigned long Color_ToRGB(TColor Color);
