#include "settings/ini.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>

namespace {

class IniTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t tmp[MAX_PATH];
        GetTempPathW(MAX_PATH, tmp);
        // One file per test: ctest runs the tests of this suite side by side.
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        File = std::wstring(tmp) + L"blanko_ini_test_" + std::wstring(name.begin(), name.end()) + L".ini";
        std::ofstream f(File.c_str(), std::ios::binary);
        f << "[Colors]\r\n"
             "rgb=$FF0000\r\n"
             "argb=$00FF0000\r\n"
             "blue6=$0000FF\r\n"
             "short=$12345\r\n"
             "name=clWhite\r\n"
             "sys=clBtnFace\r\n"
             "decimal=255\r\n"
             "bad=not a colour\r\n"
             "badhex=$GG0000\r\n"
             "empty=\r\n"
             "[Values]\r\n"
             "int=42\r\n"
             "hex=0x10\r\n"
             "word=forty\r\n"
             "text=Hello skin\r\n";
    }
    void TearDown() override { DeleteFileW(File.c_str()); }
    std::wstring File;
};

TEST_F(IniTest, ColorsAreReorderedFromRgbText) {
    struct Case {
        const wchar_t* Key;
        TColor Expected;
    } cases[] = {
        {L"rgb", 0x0000FF},      // pure red in red-green-blue order
        {L"argb", 0x000000FF},   // the same with an alpha byte in front
        {L"blue6", 0xFF0000},
        {L"short", 0x12345},     // not 7 or 9 characters: the platform's own order
        {L"name", 0xFFFFFF},
        {L"sys", TColor(0xFF00000F)},
        {L"decimal", 255},
        {L"bad", 0},             // a damaged skin file gives black, never an error
        {L"badhex", 0},
        {L"empty", 0},
        {L"missing", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(Ini_ReadColor(File, L"Colors", c.Key), c.Expected) << c.Key;
    EXPECT_EQ(Ini_ReadColor(File + L".missing", L"Colors", L"rgb"), 0);
}

TEST_F(IniTest, ValuesStringsAndIntegers) {
    EXPECT_TRUE(Ini_ValueExists(File, L"Values", L"int"));
    EXPECT_TRUE(Ini_ValueExists(File, L"values", L"INT"));
    EXPECT_FALSE(Ini_ValueExists(File, L"Values", L"nope"));
    EXPECT_FALSE(Ini_ValueExists(File + L".missing", L"Values", L"int"));

    EXPECT_EQ(Ini_ReadInteger(File, L"Values", L"int"), 42);
    EXPECT_EQ(Ini_ReadInteger(File, L"Values", L"hex"), 16);
    EXPECT_EQ(Ini_ReadInteger(File, L"Values", L"word"), -1);
    EXPECT_EQ(Ini_ReadInteger(File, L"Values", L"nope"), -1);

    EXPECT_EQ(Ini_ReadString(File, L"Values", L"text"), L"Hello skin");
    EXPECT_EQ(Ini_ReadString(File, L"Values", L"nope"), L"");
    EXPECT_EQ(Ini_ReadString(File + L".missing", L"Values", L"text"), L"");
}

}  // namespace
