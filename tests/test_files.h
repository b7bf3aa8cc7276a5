// A temporary folder of one test, removed with everything in it when the test ends, and small
// file helpers for fixtures.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

// A path in the temporary folder that belongs to the running test: Prefix + suite + "_" + test
// (parameterised tests' slashes made underscores).
inline std::wstring TestTempPath(const std::wstring& Prefix) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string n = std::string(info->test_suite_name()) + "_" + info->name();
    for (auto& c : n)
        if (c == '/') c = '_';
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    return std::wstring(tmp) + Prefix + std::wstring(n.begin(), n.end());
}

class TestFolder {
public:
    TestFolder() {
        Path = TestTempPath(L"blanko_") + L"_" + std::to_wstring(GetCurrentProcessId());
        Remove();
        CreateDirectoryW(Path.c_str(), nullptr);
    }
    ~TestFolder() { Remove(); }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    std::wstring operator/(const std::wstring& Name) const { return Path + L"\\" + Name; }

    std::wstring Path;

private:
    void Remove() {
        std::wstring from = Path + L'\0';
        SHFILEOPSTRUCTW op{};
        op.wFunc = FO_DELETE;
        op.pFrom = from.c_str();
        op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
        if (GetFileAttributesW(Path.c_str()) != INVALID_FILE_ATTRIBUTES) SHFileOperationW(&op);
    }
};

inline void WriteBytes(const std::wstring& File, const std::string& Bytes) {
    HANDLE h = CreateFileW(File.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(h, Bytes.data(), DWORD(Bytes.size()), &written, nullptr);
    CloseHandle(h);
    ASSERT_EQ(written, Bytes.size());
}

inline std::string ReadBytes(const std::wstring& File) {
    std::string s;
    HANDLE h = CreateFileW(File.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return s;
    char buf[65536];
    DWORD got = 0;
    while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got) s.append(buf, got);
    CloseHandle(h);
    return s;
}

inline bool FileExistsW(const std::wstring& File) {
    DWORD a = GetFileAttributesW(File.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// UTF-16 LE bytes of a text (no mark).
inline std::string Utf16Le(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w) {
        s += char(c & 0xFF);
        s += char((c >> 8) & 0xFF);
    }
    return s;
}

// Folder of the running test program (build/tests) and the build's bin/ folder beside it.
inline std::wstring TestProgramFolder() {
    wchar_t buf[MAX_PATH * 2];
    DWORD n = GetModuleFileNameW(nullptr, buf, MAX_PATH * 2);
    std::wstring p(buf, n);
    return p.substr(0, p.find_last_of(L'\\'));
}
inline std::wstring BuildBinFolder() {
    std::wstring t = TestProgramFolder();
    return t.substr(0, t.find_last_of(L'\\')) + L"\\bin";
}
