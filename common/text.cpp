#include "common/text.h"

#include <windows.h>

namespace text {
namespace {

bool ParseUnsigned(const wchar_t* p, bool hex, uint64_t limit, uint64_t& value) {
    if (*p == 0) return false;
    uint64_t v = 0;
    const uint64_t base = hex ? 16 : 10;
    for (; *p; ++p) {
        unsigned d;
        wchar_t c = *p;
        if (c >= L'0' && c <= L'9') d = c - L'0';
        else if (hex && c >= L'a' && c <= L'f') d = c - L'a' + 10;
        else if (hex && c >= L'A' && c <= L'F') d = c - L'A' + 10;
        else return false;
        if (v > (limit - d) / base) return false;
        v = v * base + d;
    }
    value = v;
    return true;
}

// Splits blanks, sign and radix prefix off; returns the digits.
const wchar_t* Prefix(const std::wstring& s, bool& negative, bool& hex) {
    const wchar_t* p = s.c_str();
    while (*p == L' ' || *p == L'\t') ++p;
    negative = false;
    if (*p == L'-' || *p == L'+') negative = (*p++ == L'-');
    hex = false;
    if (*p == L'$') {
        hex = true;
        ++p;
    } else if (p[0] == L'0' && (p[1] == L'x' || p[1] == L'X')) {
        hex = true;
        p += 2;
    }
    return p;
}

}  // namespace

bool ToInt64(const std::wstring& s, int64_t& out) {
    bool negative, hex;
    const wchar_t* p = Prefix(s, negative, hex);
    uint64_t v;
    if (hex) {
        if (!ParseUnsigned(p, true, UINT64_MAX, v)) return false;
        out = negative ? -static_cast<int64_t>(v) : static_cast<int64_t>(v);
        return true;
    }
    const uint64_t limit = negative ? uint64_t(INT64_MAX) + 1 : uint64_t(INT64_MAX);
    if (!ParseUnsigned(p, false, limit, v)) return false;
    out = negative ? static_cast<int64_t>(0 - v) : static_cast<int64_t>(v);
    return true;
}

bool ToInt32(const std::wstring& s, int32_t& out) {
    bool negative, hex;
    const wchar_t* p = Prefix(s, negative, hex);
    uint64_t v;
    if (hex) {
        if (!ParseUnsigned(p, true, UINT32_MAX, v)) return false;
        int32_t r = static_cast<int32_t>(static_cast<uint32_t>(v));
        out = negative ? static_cast<int32_t>(0u - static_cast<uint32_t>(r)) : r;
        return true;
    }
    const uint64_t limit = negative ? uint64_t(INT32_MAX) + 1 : uint64_t(INT32_MAX);
    if (!ParseUnsigned(p, false, limit, v)) return false;
    out = negative ? static_cast<int32_t>(0 - static_cast<int64_t>(v)) : static_cast<int32_t>(v);
    return true;
}

std::wstring UpperAscii(std::wstring s) {
    for (auto& c : s)
        if (c >= L'a' && c <= L'z') c = c - L'a' + L'A';
    return s;
}

std::wstring LowerAscii(std::wstring s) {
    for (auto& c : s)
        if (c >= L'A' && c <= L'Z') c = c - L'A' + L'a';
    return s;
}

bool EqualsIgnoreCaseAscii(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() && UpperAscii(a) == UpperAscii(b);
}

std::string ToUtf8(const std::wstring& s) {
    if (s.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, s.data(), int(s.size()), nullptr, 0, nullptr, nullptr);
    std::string r(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, s.data(), int(s.size()), r.data(), n, nullptr, nullptr);
    return r;
}

std::wstring FromUtf8(const std::string& s) {
    if (s.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), nullptr, 0);
    std::wstring r(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), r.data(), n);
    return r;
}

}  // namespace text
