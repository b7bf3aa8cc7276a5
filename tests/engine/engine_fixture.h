// Shared by the engine's tests: a temporary folder of each test's own inside the Wine prefix, an
// engine bound to an invisible list, file helpers, and a way to run Linux commands (links, mounts
// and attributes that Windows programs cannot make under Wine).
#pragma once

#include "engine/blanko.h"
#include "settings/registry.h"
#include "settings/stats.h"
#include "tests/test_files.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace enginetest {

// The Linux path of a Windows path, through Wine's own mapping; empty when not under Wine.
inline std::string UnixPath(const std::wstring& WinPath) {
    using Fn = char*(CDECL*)(LPCWSTR);
    auto fn = reinterpret_cast<Fn>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name"));
    if (!fn) return {};
    char* p = fn(WinPath.c_str());
    if (!p) return {};
    std::string r = p;
    HeapFree(GetProcessHeap(), 0, p);
    return r;
}

// Single-quoted for the shell.
inline std::string Quote(const std::string& s) {
    std::string r = "'";
    for (char c : s) r += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return r + "'";
}

// Runs a shell script on the Linux side (Wine starts Linux programs) and returns its exit code;
// -1 when that is impossible. Wine does not wait for a Linux program through its process
// handle, so the script reports its end through a marker file that is waited for here.
inline int RunLinux(const std::string& Script) {
    if (GetFileAttributesW(L"Z:\\bin\\sh") == INVALID_FILE_ATTRIBUTES) return -1;
    static int serial = 0;
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    std::wstring base = std::wstring(tmp) + L"blanko_sh_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                        std::to_wstring(++serial);
    std::wstring file = base + L".sh", marker = base + L".done";
    std::string unixMarker = UnixPath(marker);
    {
        HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) return -1;
        std::string text = "(\nset -e\n" + Script + "\n)\necho $? > " + Quote(unixMarker + ".tmp") + "\nmv " +
                           Quote(unixMarker + ".tmp") + " " + Quote(unixMarker) + "\n";
        DWORD w = 0;
        WriteFile(h, text.data(), DWORD(text.size()), &w, nullptr);
        CloseHandle(h);
    }
    std::string unixScript = UnixPath(file);
    std::wstring cmd = L"Z:\\bin\\sh " + std::wstring(unixScript.begin(), unixScript.end());
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    int code = -1;
    if (CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
        for (int i = 0; i < 6000 && GetFileAttributesW(marker.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(10);
        HANDLE h = CreateFileW(marker.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            char buf[16] = {};
            DWORD got = 0;
            ReadFile(h, buf, sizeof buf - 1, &got, nullptr);
            CloseHandle(h);
            code = atoi(buf);
        }
    }
    DeleteFileW(file.c_str());
    DeleteFileW(marker.c_str());
    return code;
}

inline std::vector<uint8_t> ReadAll(const std::wstring& Path) {
    std::vector<uint8_t> data;
    HANDLE h = CreateFileW(Path_Extended(Path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) return data;
    LARGE_INTEGER size;
    GetFileSizeEx(h, &size);
    data.resize(size_t(size.QuadPart));
    DWORD got = 0;
    size_t done = 0;
    while (done < data.size() &&
           ReadFile(h, data.data() + done, DWORD(std::min<size_t>(data.size() - done, 1 << 24)), &got, nullptr) && got)
        done += got;
    CloseHandle(h);
    return data;
}

// The whole file through a handle the engine holds open.
inline std::vector<uint8_t> ReadThrough(HANDLE File) {
    LARGE_INTEGER size, zero{};
    GetFileSizeEx(File, &size);
    std::vector<uint8_t> data(size_t(size.QuadPart));
    SetFilePointerEx(File, zero, nullptr, FILE_BEGIN);
    DWORD got = 0;
    if (!data.empty()) ReadFile(File, data.data(), DWORD(data.size()), &got, nullptr);
    data.resize(got);
    return data;
}

inline void WriteAll(const std::wstring& Path, const std::vector<uint8_t>& Data) {
    HANDLE h = CreateFileW(Path_Extended(Path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << "cannot create test file";
    DWORD w = 0;
    if (!Data.empty()) WriteFile(h, Data.data(), DWORD(Data.size()), &w, nullptr);
    CloseHandle(h);
}

inline bool IsThere(const std::wstring& Path) {
    return GetFileAttributesW(Path_Extended(Path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline int64_t Counter(const wchar_t* Name) { return Registry_ReadInt64(HKEY_LOCAL_MACHINE, STATS_KEY, Name); }

// A progress bar that counts its steps and can ask for a stop at a given step, the way the
// stop button does from inside the engine's message processing.
// A progress bar that counts the engine's steps and can ask for a stop at a given step, the way
// the stop button does from inside the engine's message processing.
class TCountingBar : public ui::TProgressBar {
public:
    TCountingBar() { SetMax(1 << 30); }
    int StopAtStep = 0;
    int Steps = 0;
    void StepBy(int Delta) override {
        ui::TProgressBar::StepBy(Delta);
        Steps += Delta;
        if (StopAtStep > 0 && Steps == StopAtStep) FLAG_STOP = true;
    }
};

class EngineTest : public ::testing::Test {
public:
    void SetUp() override {
        FLAG_STOP = false;
        Root = TestTempPath(L"blanko_engine_");
        Dir = Root + L"\\";
        CleanFolder();
        ASSERT_TRUE(CreateDirectoryW(Root.c_str(), nullptr));
        Tree = std::make_unique<ui::TVirtualDrawTree>();
        Engine = std::make_unique<TBlanko>(Tree.get());
    }
    void TearDown() override {
        FLAG_STOP = false;
        Engine.reset();
        Tree.reset();
        for (wchar_t letter : Mapped) RunLinux("rm -f " + DriveLink(letter));
        CleanFolder();
    }
    static std::string DriveLink(wchar_t Letter) {
        return std::string("\"$WINEPREFIX/dosdevices/") + char(tolower(Letter)) + ":\"";
    }
    // Maps a drive letter to a folder of this test (Wine reports it as a fixed disk).
    bool MapDrive(wchar_t Letter, const std::wstring& Relative) {
        std::string target = UnixPath(Dir + Relative);
        if (target.empty() || RunLinux("ln -sfn " + Quote(target) + " " + DriveLink(Letter)) != 0) return false;
        Mapped.push_back(Letter);
        return true;
    }
    std::vector<wchar_t> Mapped;
    // Removes the test folder from the Linux side (never following a link, undoing the
    // attributes and mounts tests made); falls back to the system calls where Linux is not there.
    void CleanFolder() {
        if (!IsThere(Root)) return;
        std::string u = UnixPath(Root);
        if (!u.empty()) {
            std::string q = Quote(u);
            RunLinux("set +e\nr=$(readlink -f " + q + ")\n"
                     "for m in $(grep -o \" $r/[^ ]*\" /proc/mounts | tr -d ' '); do umount -l \"$m\"; done\n"
                     "chattr -R -a " + q + " 2>/dev/null\nrm -rf " + q);
        }
        if (IsThere(Root)) {
            Folder_RemoveTree(Root);
        }
    }
    std::wstring Make(const std::wstring& Relative, size_t Size, uint8_t Fill = 0x5A) {
        std::wstring p = Dir + Relative;
        WriteAll(p, std::vector<uint8_t>(Size, Fill));
        return p;
    }
    void MakeFolder(const std::wstring& Relative) { CreateDirectoryW(Path_Extended(Dir + Relative).c_str(), nullptr); }
    std::vector<TWipeItem> Rows() const {
        std::vector<TWipeItem> rows;
        for (auto n = Tree->GetFirst(); n; n = Tree->GetNext(n)) rows.push_back(*Tree->GetNodeData<TWipeItem>(n));
        return rows;
    }
    // Runs a whole run the way the programs do. A free-space row of a drive larger than a test
    // drive may ever be makes the test fail before anything is written.
    void Run(int Method, ui::TProgressBar* Bar = nullptr) {
        Engine->USE_WIPE_METHOD = Method;
        Errors = FilesDeleted = 0;
        for (const auto& row : Rows()) {
            if (row.Typ != TYP_FREEDISKSPACE) continue;
            int64_t free = 0, total = 0;
            if (Disk_GetFreeSpace(row.Drive, free, total) && total > 64LL * 1024 * 1024) {
                ADD_FAILURE() << "refusing to fill drive " << char(row.Drive) << ": of " << total << " bytes";
                return;
            }
        }
        Engine->Wipe(Bar, Errors, FilesDeleted);
    }

    std::wstring Root, Dir;
    std::unique_ptr<ui::TVirtualDrawTree> Tree;
    std::unique_ptr<TBlanko> Engine;
    uint32_t Errors = 0, FilesDeleted = 0;
};

}  // namespace enginetest
