#include "settings/registry.h"

#include "settings/system.h"
#include "test_keys.h"

#include <cstring>
#include <vector>

namespace {

struct Conversion {
    const char* Label;
    DWORD Type;
    std::vector<BYTE> Data;
    std::wstring AsString;
    int64_t AsInt64;
};

void PrintTo(const Conversion& c, std::ostream* os) { *os << c.Label; }

std::vector<BYTE> Bytes(const wchar_t* s, size_t chars) {
    std::vector<BYTE> b(chars * 2);
    std::memcpy(b.data(), s, chars * 2);
    return b;
}
std::vector<BYTE> Sz(const wchar_t* s) { return Bytes(s, wcslen(s) + 1); }
template <typename T>
std::vector<BYTE> Raw(T v) {
    std::vector<BYTE> b(sizeof v);
    std::memcpy(b.data(), &v, sizeof v);
    return b;
}

const std::vector<Conversion>& ConversionCases() {
    static const std::vector<Conversion> cases = {
        {"sz_digits", REG_SZ, Sz(L"12"), L"12", 12},
        {"sz_twelve_digits_longer_than_8_bytes", REG_SZ, Sz(L"123456789012"), L"123456789012", 123456789012LL},
        {"sz_negative", REG_SZ, Sz(L"-7"), L"-7", -7},
        {"sz_not_a_number", REG_SZ, Sz(L"twelve"), L"twelve", 0},
        {"sz_no_data", REG_SZ, {}, L"", 0},
        {"sz_one_byte", REG_SZ, {0x41}, L"", 0},
        // Odd size: (size + 1) / 2 characters, the last one made of the lone byte.
        {"sz_odd_size", REG_SZ, {0x41, 0, 0x42, 0, 0x43}, L"ABC", 0},
        // Even size: the last character is taken for the terminating zero.
        {"sz_even_size_without_terminator", REG_SZ, Bytes(L"ABCD", 4), L"ABC", 0},
        {"sz_cut_at_inner_zero", REG_SZ, Bytes(L"ab\0cd", 6), L"ab", 0},
        {"expand_sz_unexpanded", REG_EXPAND_SZ, Sz(L"%WINDIR%\\x"), L"%WINDIR%\\x", 0},
        {"multi_sz_first_string", REG_MULTI_SZ, Bytes(L"42\0two\0", 8), L"42", 42},
        {"dword_max_unsigned", REG_DWORD, Raw<uint32_t>(4294967295u), L"4294967295", 4294967295LL},
        {"dword_small", REG_DWORD, Raw<uint32_t>(7), L"7", 7},
        {"qword_negative", REG_QWORD, Raw<int64_t>(-5), L"-5", -5},
        {"qword_above_32_bits", REG_QWORD, Raw<int64_t>(1LL << 40), L"1099511627776", 1LL << 40},
        {"binary_as_utf16", REG_BINARY, {'H', 0, 'i', 0}, L"Hi", 0x00690048},
        {"binary_8_bytes", REG_BINARY, Raw<int64_t>(0x0102030405060708LL), L"\x0708\x0506\x0304\x0102",
         0x0102030405060708LL},
        {"binary_over_8_bytes", REG_BINARY, {'a', 0, 'b', 0, 'c', 0, 'd', 0, 'e', 0}, L"abcde", 0},
        {"none_two_bytes", REG_NONE, {0x34, 0x12}, L"\x1234", 0x1234},
        {"other_type", REG_RESOURCE_LIST, {1, 2, 3, 4}, L"", 0},
    };
    return cases;
}

class RegistryConversion : public RegistryTest, public ::testing::WithParamInterface<Conversion> {};

TEST_P(RegistryConversion, ReadsByStoredType) {
    const Conversion& c = GetParam();
    RawSet(L"v", c.Type, c.Data.data(), DWORD(c.Data.size()));
    EXPECT_TRUE(Registry_ValueExists(HKEY_LOCAL_MACHINE, Key, L"v"));
    EXPECT_EQ(Registry_ReadString(HKEY_LOCAL_MACHINE, Key, L"v"), c.AsString);
    EXPECT_EQ(Registry_ReadInt64(HKEY_LOCAL_MACHINE, Key, L"v"), c.AsInt64);
}

INSTANTIATE_TEST_SUITE_P(Types, RegistryConversion, ::testing::ValuesIn(ConversionCases()),
                         [](const auto& info) { return std::string(info.param.Label); });

TEST_F(RegistryTest, MissingKeyOrValueReadsAsEmpty) {
    EXPECT_FALSE(Registry_KeyExists(HKEY_LOCAL_MACHINE, Key));
    EXPECT_FALSE(Registry_ValueExists(HKEY_LOCAL_MACHINE, Key, L"v"));
    EXPECT_EQ(Registry_ReadString(HKEY_LOCAL_MACHINE, Key, L"v"), L"");
    EXPECT_EQ(Registry_ReadInt64(HKEY_LOCAL_MACHINE, Key, L"v"), 0);
    ASSERT_TRUE(Registry_CreateKey(HKEY_LOCAL_MACHINE, Key));
    EXPECT_FALSE(Registry_ValueExists(HKEY_LOCAL_MACHINE, Key, L"v"));
    EXPECT_FALSE(Registry_DeleteValue(HKEY_LOCAL_MACHINE, Key, L"v"));
    EXPECT_FALSE(Registry_DeleteValue(HKEY_LOCAL_MACHINE, Key + L"\\missing", L"v"));
}

TEST_F(RegistryTest, WritersStoreTypeAndSize) {
    const std::wstring deep = Key + L"\\a\\b\\c";  // no parent exists yet
    ASSERT_TRUE(Registry_WriteString(HKEY_LOCAL_MACHINE, deep, L"s", L"abc"));
    ASSERT_TRUE(Registry_WriteString(HKEY_LOCAL_MACHINE, deep, L"empty", L""));
    ASSERT_TRUE(Registry_WriteDWord(HKEY_LOCAL_MACHINE, deep, L"d", 0xFFFFFFFFu));
    ASSERT_TRUE(Registry_WriteQWord(HKEY_LOCAL_MACHINE, deep, L"q", 0x123456789ALL));
    ASSERT_TRUE(Registry_WriteString(HKEY_LOCAL_MACHINE, deep, L"", L"default"));

    EXPECT_EQ(RawQuery(deep, L"s"), std::make_pair(DWORD(REG_SZ), DWORD(8)));
    EXPECT_EQ(RawQuery(deep, L"empty"), std::make_pair(DWORD(REG_SZ), DWORD(0)));
    EXPECT_EQ(RawQuery(deep, L"d"), std::make_pair(DWORD(REG_DWORD), DWORD(4)));
    EXPECT_EQ(RawQuery(deep, L"q"), std::make_pair(DWORD(REG_QWORD), DWORD(8)));
    EXPECT_TRUE(Registry_ValueExists(HKEY_LOCAL_MACHINE, deep, L"empty"));
    EXPECT_EQ(Registry_ReadString(HKEY_LOCAL_MACHINE, deep, L"empty"), L"");
    EXPECT_EQ(Registry_ReadString(HKEY_LOCAL_MACHINE, deep, L""), L"default");
    EXPECT_EQ(Registry_ReadInt64(HKEY_LOCAL_MACHINE, deep, L"q"), 0x123456789ALL);

    EXPECT_TRUE(Registry_DeleteValue(HKEY_LOCAL_MACHINE, deep, L"s"));
    EXPECT_FALSE(Registry_ValueExists(HKEY_LOCAL_MACHINE, deep, L"s"));
}

TEST_F(RegistryTest, CreateKeyMakesWholePathAndWritesNoValue) {
    const std::wstring deep = Key + L"\\x\\y\\z";
    EXPECT_TRUE(Registry_CreateKey(HKEY_LOCAL_MACHINE, deep));
    EXPECT_TRUE(Registry_KeyExists(HKEY_LOCAL_MACHINE, deep));
    EXPECT_FALSE(Registry_ValueExists(HKEY_LOCAL_MACHINE, deep, L""));
    EXPECT_TRUE(Registry_CreateKey(HKEY_LOCAL_MACHINE, deep));  // existing key: opened
}

TEST_F(RegistryTest, DeleteKeyRemovesSubkeysAndKeepsSiblings) {
    const std::wstring clsid = Key + L"\\CLSID\\{7A31C0E2-94B5-4D18-A6F3-2E5C9B0D4A71}";
    Registry_WriteString(HKEY_LOCAL_MACHINE, clsid, L"", L"TidewellPivotel");
    Registry_WriteString(HKEY_LOCAL_MACHINE, clsid + L"\\InProcServer32", L"ThreadingModel", L"Apartment");
    Registry_WriteString(HKEY_LOCAL_MACHINE, clsid + L"\\a\\b\\c", L"x", L"y");
    Registry_WriteString(HKEY_LOCAL_MACHINE, Key + L"\\CLSID\\sibling", L"x", L"y");

    EXPECT_TRUE(Registry_DeleteKey(HKEY_LOCAL_MACHINE, clsid));
    EXPECT_FALSE(Registry_KeyExists(HKEY_LOCAL_MACHINE, clsid));
    EXPECT_FALSE(Registry_KeyExists(HKEY_LOCAL_MACHINE, clsid + L"\\InProcServer32"));
    EXPECT_TRUE(Registry_KeyExists(HKEY_LOCAL_MACHINE, Key + L"\\CLSID\\sibling"));
    // A key that is already gone counts as deleted; an empty path never reaches the root.
    EXPECT_TRUE(Registry_DeleteKey(HKEY_LOCAL_MACHINE, clsid));
    EXPECT_FALSE(Registry_DeleteKey(HKEY_LOCAL_MACHINE, L""));
}

TEST_F(RegistryTest, SettingsLiveInThe64BitView) {
    ASSERT_TRUE(Is64BitWindows);
    EXPECT_EQ(Registry_ReadMask(), REGSAM(0x20119));
    EXPECT_EQ(Registry_WriteMask(), REGSAM(0xF013F));

    ASSERT_TRUE(Registry_WriteString(HKEY_LOCAL_MACHINE, Key, L"v", L"64"));
    EXPECT_EQ(RawQuery(Key, L"v", KEY_WOW64_64KEY).first, DWORD(REG_SZ));
    EXPECT_EQ(RawQuery(Key, L"v", KEY_WOW64_32KEY).first, 0xFFFFFFFF) << "written under the 32-bit node";

    // On 32-bit Windows no view flag is added.
    Is64BitWindows = false;
    EXPECT_EQ(Registry_ReadMask(), REGSAM(KEY_READ));
    EXPECT_EQ(Registry_WriteMask(), REGSAM(KEY_ALL_ACCESS));
    Is64BitWindows = true;
}

}  // namespace
