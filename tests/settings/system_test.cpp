#include "settings/system.h"

#include <gtest/gtest.h>

namespace {

TEST(SystemTest, SharedStartValues) {
    EXPECT_TRUE(Is64BitWindows);
    EXPECT_FALSE(Is_Wow64());  // a 64-bit process is never under WOW64

    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring path(exe);
    EXPECT_EQ(ProgramFolder, path.substr(0, path.find_last_of(L'\\')));
    EXPECT_NE(ProgramFolder.back(), L'\\');

    EXPECT_FALSE(WindowsFolder.empty());
    EXPECT_EQ(GetFileAttributesW((WindowsFolder + L"\\system32").c_str()) & FILE_ATTRIBUTE_DIRECTORY,
              DWORD(FILE_ATTRIBUTE_DIRECTORY));
}

TEST(SystemTest, AdministratorFromTokenGroups) {
    // Wine gives every process an elevated token that lists the Administrators group.
    EXPECT_TRUE(Is_Administrator());
    // Also from a thread that impersonates (its own token is then asked, not the process's).
    ASSERT_TRUE(ImpersonateSelf(SecurityImpersonation));
    EXPECT_TRUE(Is_Administrator());
    RevertToSelf();
}

}  // namespace
