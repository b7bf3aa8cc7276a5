// Small text helpers shared by every subsystem.
#pragma once

#include <cstdint>
#include <string>

namespace text {

// Number conversion in the style the stored settings use: optional blanks in front, optional
// sign, then decimal digits, or hexadecimal after "$" or "0x". Nothing may follow the number.
// Returns false (and leaves out untouched) when the text is no number or does not fit.
bool ToInt64(const std::wstring& s, int64_t& out);
// Same rules for 32-bit values; hexadecimal takes up to 8 digits and wraps ("$FFFFFFFF" is -1).
bool ToInt32(const std::wstring& s, int32_t& out);

// ASCII-only case folding: letters outside A-Z/a-z stay as they are.
std::wstring UpperAscii(std::wstring s);
std::wstring LowerAscii(std::wstring s);
bool EqualsIgnoreCaseAscii(const std::wstring& a, const std::wstring& b);

// UTF-16 <-> UTF-8 for file names and messages that cross to narrow APIs.
std::string ToUtf8(const std::wstring& s);
std::wstring FromUtf8(const std::string& s);

}  // namespace text
