#include "i18n/lang.h"

#include "common/handles.h"

#include <windows.h>

#include <algorithm>
#include <climits>

namespace {

constexpr LONGLONG MAX_FILE_BYTES = 64LL * 1024 * 1024;

std::wstring KeyOf(const std::wstring& Section, const std::wstring& Component) {
    return Section + L"." + Component;
}

std::wstring FromCodePage(UINT CodePage, const char* p, size_t n) {
    if (n == 0) return {};
    int chars = MultiByteToWideChar(CodePage, 0, p, int(n), nullptr, 0);
    if (chars <= 0) return {};
    std::wstring w(size_t(chars), L'\0');
    MultiByteToWideChar(CodePage, 0, p, int(n), w.data(), chars);
    return w;
}

std::string ToAnsi(const std::wstring& w) {
    if (w.empty()) return {};
    int n = WideCharToMultiByte(CP_ACP, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string s(size_t(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, w.data(), int(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

bool EqualsIgnoreCase(const std::wstring& a, const std::wstring& b) {
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), int(a.size()), b.data(), int(b.size())) ==
           CSTR_EQUAL;
}

// Replaces every "%CRLF", in any letter case, by CR LF.
std::wstring Unescape(const std::wstring& v) {
    static const wchar_t tag[] = L"CRLF";
    std::wstring out;
    out.reserve(v.size());
    for (size_t i = 0; i < v.size(); ++i) {
        if (v[i] == L'%' && i + 5 <= v.size()) {
            bool match = true;
            for (size_t k = 0; k < 4 && match; ++k) {
                wchar_t c = v[i + 1 + k];
                if (c >= L'a' && c <= L'z') c = wchar_t(c - L'a' + L'A');
                match = (c == tag[k]);
            }
            if (match) {
                out += L"\r\n";
                i += 4;
                continue;
            }
        }
        out += v[i];
    }
    return out;
}

std::wstring Escape(const std::wstring& v) {
    std::wstring out;
    out.reserve(v.size());
    for (size_t i = 0; i < v.size(); ++i) {
        if (v[i] == L'\r' && i + 1 < v.size() && v[i + 1] == L'\n') {
            out += L"%CRLF";
            ++i;
        } else {
            out += v[i];
        }
    }
    return out;
}

// Strict decimal number: optional sign, then digits only, within the range of an int.
bool ParseDecimal(const std::wstring& s, int& out) {
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == L'-' || s[i] == L'+')) negative = (s[i++] == L'-');
    if (i == s.size()) return false;
    long long v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < L'0' || s[i] > L'9') return false;
        v = v * 10 + (s[i] - L'0');
        if (v > 2147483648LL) return false;
    }
    if (negative) v = -v;
    if (v > INT_MAX || v < INT_MIN) return false;
    out = int(v);
    return true;
}

// Writes the bytes to a file beside Target and moves it over Target, so the old file survives a
// failed write.
bool WriteFileReplacing(const std::wstring& Target, const std::string& Bytes) {
    const std::wstring temp = Target + L".new~";
    {
        handles::UniqueFile f(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!f) return false;
        size_t done = 0;
        bool ok = true;
        while (ok && done < Bytes.size()) {
            DWORD chunk = DWORD(std::min<size_t>(Bytes.size() - done, 1u << 20));
            DWORD written = 0;
            ok = WriteFile(f.get(), Bytes.data() + done, chunk, &written, nullptr) && written == chunk;
            done += written;
        }
        if (ok) ok = FlushFileBuffers(f.get()) != 0;
        if (!ok) {
            f.reset();
            DeleteFileW(temp.c_str());
            return false;
        }
    }
    if (!MoveFileExW(temp.c_str(), Target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace

std::wstring Text_Decode(const std::string& b) {
    const auto* u = reinterpret_cast<const unsigned char*>(b.data());
    if (b.size() >= 2 && u[0] == 0xFF && u[1] == 0xFE) {
        std::wstring w((b.size() - 2) / 2, L'\0');
        for (size_t i = 0; i < w.size(); ++i) w[i] = wchar_t(u[2 + 2 * i] | (u[3 + 2 * i] << 8));
        return w;
    }
    if (b.size() >= 2 && u[0] == 0xFE && u[1] == 0xFF) {
        std::wstring w((b.size() - 2) / 2, L'\0');
        for (size_t i = 0; i < w.size(); ++i) w[i] = wchar_t((u[2 + 2 * i] << 8) | u[3 + 2 * i]);
        return w;
    }
    if (b.size() >= 3 && u[0] == 0xEF && u[1] == 0xBB && u[2] == 0xBF)
        return FromCodePage(CP_UTF8, b.data() + 3, b.size() - 3);
    return FromCodePage(CP_ACP, b.data(), b.size());
}

std::vector<std::wstring> Text_SplitLines(const std::wstring& t) {
    std::vector<std::wstring> lines;
    size_t start = 0, i = 0;
    while (i < t.size()) {
        if (t[i] == L'\r' || t[i] == L'\n') {
            lines.push_back(t.substr(start, i - start));
            if (t[i] == L'\r' && i + 1 < t.size() && t[i + 1] == L'\n') ++i;
            start = ++i;
        } else {
            ++i;
        }
    }
    if (start < t.size()) lines.push_back(t.substr(start));
    return lines;
}

TFileRead Lines_ReadFile(const std::wstring& FileName, std::vector<std::wstring>& Lines) {
    DWORD attr = GetFileAttributesW(FileName.c_str());
    if (attr == INVALID_FILE_ATTRIBUTES || (attr & FILE_ATTRIBUTE_DIRECTORY)) return TFileRead::Missing;
    handles::UniqueFile f(CreateFileW(FileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return TFileRead::Unreadable;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(f.get(), &size) || size.QuadPart > MAX_FILE_BYTES) return TFileRead::Unreadable;
    std::string bytes(size_t(size.QuadPart), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        if (!ReadFile(f.get(), bytes.data() + done, DWORD(bytes.size() - done), &got, nullptr))
            return TFileRead::Unreadable;
        if (got == 0) break;  // shorter than reported: take what is there
        done += got;
    }
    bytes.resize(done);
    Lines = Text_SplitLines(Text_Decode(bytes));
    return TFileRead::Read;
}

int Lines_FindName(const std::vector<std::wstring>& Lines, const std::wstring& Name) {
    for (size_t i = 0; i < Lines.size(); ++i) {
        const std::wstring& line = Lines[i];
        size_t eq = line.find(L'=');
        if (eq == std::wstring::npos) continue;
        if (EqualsIgnoreCase(line.substr(0, eq), Name)) return int(i);
    }
    return -1;
}

TLang::TLoadResult TLang::Load_Translation(const std::wstring& TranslationFile, const std::wstring& IndexFile) {
    TLoadResult r{};
    std::vector<std::wstring> lines;
    r.TranslationFile = Lines_ReadFile(TranslationFile, lines);
    if (r.TranslationFile == TFileRead::Read) Translation = std::move(lines);
    lines.clear();
    r.IndexFile = Lines_ReadFile(IndexFile, lines);
    if (r.IndexFile == TFileRead::Read) Index = std::move(lines);
    return r;
}

bool TLang::Save_Translation(const std::wstring& TranslationFile, const std::wstring& IndexFile) const {
    std::string index;
    for (const auto& line : Index) index += ToAnsi(line) + "\r\n";
    if (!WriteFileReplacing(IndexFile, index)) return false;

    std::string tr = "\xFF\xFE";
    tr.reserve(2 + Translation.size() * 64);
    auto put = [&tr](wchar_t c) {
        tr += char(c & 0xFF);
        tr += char((c >> 8) & 0xFF);
    };
    for (const auto& line : Translation) {
        for (wchar_t c : line) put(c);
        put(L'\r');
        put(L'\n');
    }
    return WriteFileReplacing(TranslationFile, tr);
}

int TLang::GetStringWIndex(const std::wstring& SectionID, const std::wstring& component) const {
    return Lines_FindName(Translation, KeyOf(SectionID, component));
}

std::wstring TLang::Get_StringW(const std::wstring& SectionID, const std::wstring& component, bool) {
    int i = GetStringWIndex(SectionID, component);
    if (i < 0) {
        ++MissingItemsInTranslation;
        return {};
    }
    const std::wstring& line = Translation[size_t(i)];
    std::wstring text = Unescape(line.substr(line.find(L'=') + 1));
    if (text.empty()) ++MissingItemsInTranslation;
    return text;
}

void TLang::Add_StringW(const std::wstring& SectionID, const std::wstring& componentName,
                        const std::wstring& StringW) {
    const std::wstring key = KeyOf(SectionID, componentName);
    std::wstring line = key + L"=" + Escape(StringW);
    int i = Lines_FindName(Translation, key);
    if (i >= 0) Translation[size_t(i)] = std::move(line);
    else Translation.push_back(std::move(line));
}

TIndexRead TLang::Read_FromIndex(const std::wstring& SectionID, const std::wstring& componentName, bool& HTML,
                                 int& MaxWidth, std::wstring& Version) const {
    int i = Lines_FindName(Index, KeyOf(SectionID, componentName));
    if (i < 0) return TIndexRead::Missing;
    const std::wstring& line = Index[size_t(i)];
    const std::wstring value = line.substr(line.find(L'=') + 1);

    const bool html = value.compare(0, 4, L"HTML") == 0;  // exact letter case
    if (value.size() < 5) return TIndexRead::BadWidth;
    const std::wstring rest = value.substr(5);  // kind and its comma, the fifth character unchecked
    const size_t comma = rest.find(L',');
    int width = 0;
    if (comma == std::wstring::npos || !ParseDecimal(rest.substr(0, comma), width)) return TIndexRead::BadWidth;

    HTML = html;
    MaxWidth = width;
    Version = rest.substr(comma + 1);
    return TIndexRead::Found;
}

void TLang::Save_ToIndex(const std::wstring& SectionID, const std::wstring& componentName, bool HTML, int MaxWidth,
                         const std::wstring& Version) {
    const bool html = HTML || componentName.find(L"MESSAGEHTML_") != std::wstring::npos;
    const std::wstring key = KeyOf(SectionID, componentName);
    std::wstring line = key + L"=" + (html ? L"HTML" : L"TEXT") + L"," + std::to_wstring(MaxWidth) + L"," + Version;
    int i = Lines_FindName(Index, key);
    if (i >= 0) Index[size_t(i)] = std::move(line);
    else Index.push_back(std::move(line));
}
