#include "settings/stats.h"

#include "settings/registry.h"
#include "test_keys.h"

namespace {

// Stats_Add always writes below the product key's "Stats"; each test uses counter names of its own.
class StatsTest : public RegistryTest {
protected:
    static std::wstring Counter() {
        std::string n = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        return L"Test_" + std::wstring(n.begin(), n.end());
    }
    void SetUp() override {
        RegistryTest::SetUp();
        Name = Counter();
        Registry_DeleteValue(HKEY_LOCAL_MACHINE, STATS_KEY, Name);
    }
    void TearDown() override {
        Registry_DeleteValue(HKEY_LOCAL_MACHINE, STATS_KEY, Name);
        RegistryTest::TearDown();
    }
    std::wstring Name;
};

TEST_F(StatsTest, FirstUseCreatesQwordCounter) {
    Stats_Add(Name, 1);
    EXPECT_EQ(RawQuery(STATS_KEY, Name), std::make_pair(DWORD(REG_QWORD), DWORD(8)));
    EXPECT_EQ(Registry_ReadInt64(HKEY_LOCAL_MACHINE, STATS_KEY, Name), 1);
}

TEST_F(StatsTest, AddsWith64BitCarry) {
    Registry_WriteQWord(HKEY_LOCAL_MACHINE, STATS_KEY, Name, 0xFFFFFFFFLL);
    Stats_Add(Name, 1);
    EXPECT_EQ(Registry_ReadInt64(HKEY_LOCAL_MACHINE, STATS_KEY, Name), 0x100000000LL);
    Stats_Add(Name, 5368709120LL);  // a 5 GiB file
    EXPECT_EQ(Registry_ReadInt64(HKEY_LOCAL_MACHINE, STATS_KEY, Name), 0x100000000LL + 5368709120LL);
}

TEST_F(StatsTest, DwordAndTextCountersBecomeQword) {
    Registry_WriteDWord(HKEY_LOCAL_MACHINE, STATS_KEY, Name, 0xFFFFFFFFu);
    Stats_Add(Name, 2);
    EXPECT_EQ(RawQuery(STATS_KEY, Name).first, DWORD(REG_QWORD));
    EXPECT_EQ(Registry_ReadInt64(HKEY_LOCAL_MACHINE, STATS_KEY, Name), 0x100000001LL);

    Registry_WriteString(HKEY_LOCAL_MACHINE, STATS_KEY, Name, L"41");
    Stats_Add(Name, 1);
    EXPECT_EQ(RawQuery(STATS_KEY, Name).first, DWORD(REG_QWORD));
    EXPECT_EQ(Registry_ReadInt64(HKEY_LOCAL_MACHINE, STATS_KEY, Name), 42);
}

}  // namespace
