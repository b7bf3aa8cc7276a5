#include "settings/ini.h"

#include "common/text.h"

#include <windows.h>

#include <vector>

namespace {

bool FileExists(const std::wstring& FileName) {
    DWORD a = GetFileAttributesW(FileName.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// GetPrivateProfileString with a buffer that grows until the whole text fits.
std::wstring ReadProfile(const std::wstring& FileName, const wchar_t* Section, const wchar_t* Key) {
    std::vector<wchar_t> buf(2048);
    for (;;) {
        DWORD n = GetPrivateProfileStringW(Section, Key, L"", buf.data(), DWORD(buf.size()), FileName.c_str());
        // n == size - 1 (single value) or size - 2 (key list) means the text was cut.
        if (n + 2 < buf.size() || buf.size() >= (1u << 20)) return std::wstring(buf.data(), n);
        buf.resize(buf.size() * 2);
    }
}

struct NamedColor {
    const wchar_t* Name;
    TColor Value;
};

constexpr TColor SysColor(int index) { return TColor(0xFF000000u | unsigned(index)); }

const NamedColor kColors[] = {
    {L"clBlack", 0x000000}, {L"clMaroon", 0x000080}, {L"clGreen", 0x008000}, {L"clOlive", 0x008080},
    {L"clNavy", 0x800000}, {L"clPurple", 0x800080}, {L"clTeal", 0x808000}, {L"clGray", 0x808080},
    {L"clSilver", 0xC0C0C0}, {L"clRed", 0x0000FF}, {L"clLime", 0x00FF00}, {L"clYellow", 0x00FFFF},
    {L"clBlue", 0xFF0000}, {L"clFuchsia", 0xFF00FF}, {L"clAqua", 0xFFFF00}, {L"clWhite", 0xFFFFFF},
    {L"clMoneyGreen", 0xC0DCC0}, {L"clSkyBlue", 0xF0CAA6}, {L"clCream", 0xF0FBFF}, {L"clMedGray", 0xA4A0A0},
    {L"clNone", clNone}, {L"clDefault", clDefault},
    {L"clScrollBar", SysColor(COLOR_SCROLLBAR)}, {L"clBackground", SysColor(COLOR_BACKGROUND)},
    {L"clActiveCaption", SysColor(COLOR_ACTIVECAPTION)}, {L"clInactiveCaption", SysColor(COLOR_INACTIVECAPTION)},
    {L"clMenu", SysColor(COLOR_MENU)}, {L"clWindow", SysColor(COLOR_WINDOW)},
    {L"clWindowFrame", SysColor(COLOR_WINDOWFRAME)}, {L"clMenuText", SysColor(COLOR_MENUTEXT)},
    {L"clWindowText", SysColor(COLOR_WINDOWTEXT)}, {L"clCaptionText", SysColor(COLOR_CAPTIONTEXT)},
    {L"clActiveBorder", SysColor(COLOR_ACTIVEBORDER)}, {L"clInactiveBorder", SysColor(COLOR_INACTIVEBORDER)},
    {L"clAppWorkSpace", SysColor(COLOR_APPWORKSPACE)}, {L"clHighlight", SysColor(COLOR_HIGHLIGHT)},
    {L"clHighlightText", SysColor(COLOR_HIGHLIGHTTEXT)}, {L"clBtnFace", SysColor(COLOR_BTNFACE)},
    {L"clBtnShadow", SysColor(COLOR_BTNSHADOW)}, {L"clGrayText", SysColor(COLOR_GRAYTEXT)},
    {L"clBtnText", SysColor(COLOR_BTNTEXT)}, {L"clInactiveCaptionText", SysColor(COLOR_INACTIVECAPTIONTEXT)},
    {L"clBtnHighlight", SysColor(COLOR_BTNHIGHLIGHT)}, {L"cl3DDkShadow", SysColor(COLOR_3DDKSHADOW)},
    {L"cl3DLight", SysColor(COLOR_3DLIGHT)}, {L"clInfoText", SysColor(COLOR_INFOTEXT)},
    {L"clInfoBk", SysColor(COLOR_INFOBK)}, {L"clHotLight", SysColor(COLOR_HOTLIGHT)},
    {L"clGradientActiveCaption", SysColor(COLOR_GRADIENTACTIVECAPTION)},
    {L"clGradientInactiveCaption", SysColor(COLOR_GRADIENTINACTIVECAPTION)},
    {L"clMenuHighlight", SysColor(COLOR_MENUHILIGHT)}, {L"clMenuBar", SysColor(COLOR_MENUBAR)},
};

}  // namespace

bool Color_FromText(const std::wstring& Text, TColor& Color) {
    for (const auto& c : kColors)
        if (text::EqualsIgnoreCaseAscii(Text, c.Name)) {
            Color = c.Value;
            return true;
        }
    int32_t v;
    if (!text::ToInt32(Text, v)) return false;
    Color = v;
    return true;
}

unsigned long Color_ToRGB(TColor Color) {
    if (Color < 0) return GetSysColor(Color & 0xFF);
    return static_cast<unsigned long>(Color);
}

bool Ini_ValueExists(const std::wstring& FileName, const std::wstring& Section, const std::wstring& Key) {
    if (!FileExists(FileName)) return false;
    // The section's key names, each ended by a zero.
    std::wstring keys = ReadProfile(FileName, Section.c_str(), nullptr);
    size_t pos = 0;
    while (pos < keys.size()) {
        size_t end = keys.find(L'\0', pos);
        if (end == std::wstring::npos) end = keys.size();
        if (text::EqualsIgnoreCaseAscii(keys.substr(pos, end - pos), Key)) return true;
        pos = end + 1;
    }
    return false;
}

int Ini_ReadInteger(const std::wstring& FileName, const std::wstring& Section, const std::wstring& Key) {
    std::wstring s = Ini_ReadString(FileName, Section, Key);
    int32_t v;
    return text::ToInt32(s, v) ? v : -1;
}

std::wstring Ini_ReadString(const std::wstring& FileName, const std::wstring& Section, const std::wstring& Key) {
    if (!FileExists(FileName)) return {};
    return ReadProfile(FileName, Section.c_str(), Key.c_str());
}

TColor Ini_ReadColor(const std::wstring& FileName, const std::wstring& Section, const std::wstring& Key) {
    std::wstring s = Ini_ReadString(FileName, Section, Key);
    if (s.empty()) return 0;
    TColor color;
    // A damaged skin file gives black instead of an error, so no window fails over a colour.
    if (!Color_FromText(s, color)) return 0;
    if (s[0] == L'$' && s.size() == 7) {  // $RRGGBB -> $BBGGRR
        std::wstring r = L"$" + s.substr(5, 2) + s.substr(3, 2) + s.substr(1, 2);
        if (!Color_FromText(r, color)) return 0;
    } else if (s[0] == L'$' && s.size() == 9) {  // $AARRGGBB -> $AABBGGRR
        std::wstring r = s.substr(0, 3) + s.substr(7, 2) + s.substr(5, 2) + s.substr(3, 2);
        if (!Color_FromText(r, color)) return 0;
    }
    return color;
}
