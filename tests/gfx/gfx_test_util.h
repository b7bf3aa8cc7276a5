// Helpers of the graphics and control tests: a private temp folder per test and message pumping.
#pragma once

#include "ui/application.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace gfxtest {

// A folder of its own for the running test, removed with its files at the end.
class TempFolder {
public:
    TempFolder() {
        wchar_t tmp[MAX_PATH];
        GetTempPathW(MAX_PATH, tmp);
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "_" + info->name();
        Path = std::wstring(tmp) + L"blanko_gfx_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
               std::wstring(name.begin(), name.end());
        CreateDirectoryW(Path.c_str(), nullptr);
    }
    ~TempFolder() {
        WIN32_FIND_DATAW fd;
        HANDLE h = FindFirstFileW((Path + L"\\*").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileW((Path + L"\\" + fd.cFileName).c_str());
            } while (FindNextFileW(h, &fd));
            FindClose(h);
        }
        RemoveDirectoryW(Path.c_str());
    }
    std::wstring File(const std::wstring& name) const { return Path + L"\\" + name; }
    std::wstring Path;
};

// Milliseconds from a high-resolution clock.
inline double NowMs() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return double(c.QuadPart) * 1000.0 / double(f.QuadPart);
}

// Processes messages like a GUI thread until Done() holds or TimeoutMs have passed.
template <typename Pred>
bool PumpUntil(Pred Done, double TimeoutMs) {
    double start = NowMs();
    while (!Done()) {
        if (NowMs() - start > TimeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        ui::Application.ProcessMessages();
    }
    return true;
}

inline void PumpFor(double Ms) {
    PumpUntil([] { return false; }, Ms);
}

}  // namespace gfxtest
