#include "common/handles.h"

#include <gtest/gtest.h>

namespace {

// A kernel handle stays usable only while its owner lives.
bool IsOpen(HANDLE h) {
    DWORD flags;
    return GetHandleInformation(h, &flags) != 0;
}

TEST(HandlesTest, ClosedOnScopeExitAndMovedOnce) {
    HANDLE raw;
    {
        handles::UniqueHandle ev(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        raw = ev.get();
        ASSERT_TRUE(IsOpen(raw));
        handles::UniqueHandle moved(std::move(ev));
        EXPECT_FALSE(ev.valid());
        EXPECT_EQ(moved.get(), raw);
        EXPECT_TRUE(IsOpen(raw));
    }
    EXPECT_FALSE(IsOpen(raw));
}

TEST(HandlesTest, FileUsesInvalidHandleValueAndKeepsLastError) {
    handles::UniqueFile none;
    EXPECT_EQ(none.get(), INVALID_HANDLE_VALUE);
    EXPECT_FALSE(none);

    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    std::wstring path = std::wstring(tmp) + L"blanko_handles_test.tmp";
    {
        handles::UniqueFile f(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(f);
        // While held without sharing, a second open fails; that error survives the clean-up.
        handles::UniqueFile second(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        EXPECT_FALSE(second);
        const DWORD err = GetLastError();
        f.reset();
        EXPECT_EQ(GetLastError(), err);
    }
    EXPECT_TRUE(DeleteFileW(path.c_str()));
}

TEST(HandlesTest, RegistryKeyThroughPut) {
    handles::UniqueKey key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE", 0, KEY_READ, key.put()), ERROR_SUCCESS);
    EXPECT_TRUE(key);
    HKEY raw = key.release();
    EXPECT_FALSE(key);
    RegCloseKey(raw);
}

}  // namespace
