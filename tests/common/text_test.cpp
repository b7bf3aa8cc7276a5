#include "common/text.h"

#include <gtest/gtest.h>

namespace {

TEST(TextTest, NumberConversion) {
    struct Case {
        const wchar_t* Text;
        bool Ok;
        int64_t Value;
    } cases[] = {
        {L"12", true, 12},           {L"  -7", true, -7},        {L"+3", true, 3},
        {L"$FF", true, 255},         {L"0x10", true, 16},        {L"9223372036854775807", true, INT64_MAX},
        {L"9223372036854775808", false, 0},                      {L"-9223372036854775808", true, INT64_MIN},
        {L"", false, 0},             {L"12a", false, 0},         {L"1 2", false, 0},
        {L"$", false, 0},            {L"twelve", false, 0},
    };
    for (const auto& c : cases) {
        int64_t v = 0;
        EXPECT_EQ(text::ToInt64(c.Text, v), c.Ok) << std::wstring(c.Text).size();
        if (c.Ok) {
            EXPECT_EQ(v, c.Value);
        }
    }
    int32_t i = 0;
    EXPECT_TRUE(text::ToInt32(L"$FFFFFFFF", i));
    EXPECT_EQ(i, -1);
    EXPECT_FALSE(text::ToInt32(L"2147483648", i));
    EXPECT_FALSE(text::ToInt32(L"$100000000", i));
}

TEST(TextTest, CaseFoldingIsAsciiOnly) {
    EXPECT_EQ(text::UpperAscii(L"abc\u00e4z"), L"ABC\u00e4Z");
    EXPECT_TRUE(text::EqualsIgnoreCaseAscii(L"Datei.TXT", L"datei.txt"));
    EXPECT_FALSE(text::EqualsIgnoreCaseAscii(L"\u00c4", L"\u00e4"));
}

}  // namespace
