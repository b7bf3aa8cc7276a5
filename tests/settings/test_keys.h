// Each registry test works below a key of its own, removed before and after it runs.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

inline std::wstring TestKeyFor(const ::testing::TestInfo* info) {
    std::string n = std::string(info->test_suite_name()) + "_" + info->name();
    for (auto& c : n)
        if (c == '/') c = '_';
    return L"SOFTWARE\\Corvane\\BlankoTests\\" + std::wstring(n.begin(), n.end());
}

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        Key = TestKeyFor(::testing::UnitTest::GetInstance()->current_test_info());
        Wipe();
    }
    void TearDown() override { Wipe(); }
    void Wipe() {
        HKEY k;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"", 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, &k) == ERROR_SUCCESS) {
            RegDeleteTreeW(k, Key.c_str());
            RegCloseKey(k);
        }
    }
    // Raw write with the system API, so the helpers are tested against data they did not write.
    void RawSet(const std::wstring& name, DWORD type, const void* data, DWORD size) {
        HKEY k;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, Key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY,
                                  nullptr, &k, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExW(k, name.c_str(), 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
        RegCloseKey(k);
    }
    // Type and size of a stored value; type 0xFFFFFFFF when it is missing.
    std::pair<DWORD, DWORD> RawQuery(const std::wstring& sub, const std::wstring& name, REGSAM view = KEY_WOW64_64KEY) {
        HKEY k;
        DWORD type = 0xFFFFFFFF, size = 0;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, sub.c_str(), 0, KEY_READ | view, &k) == ERROR_SUCCESS) {
            if (RegQueryValueExW(k, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) type = 0xFFFFFFFF;
            RegCloseKey(k);
        }
        return {type, size};
    }
    std::wstring Key;
};
