#include "engine_fixture.h"

namespace {

using namespace enginetest;

constexpr int R = -1;  // a pass of the random buffer

// The pass lists of the four methods, as the options describe them.
const std::vector<int>& Passes(int Method) {
    static const std::vector<int> lists[] = {
        {0x00, 0xFF, 0x00},
        {0x00},
        {0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, R},
        {R,    R,    R,    R,    0x55, 0xAA, 0x92, 0x49, 0x24, 0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88,
         0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF, 0x92, 0x49, 0x24, 0x6D, 0xB6, 0xDB, R,    R,    R,    R},
    };
    return lists[Method];
}

class PassesTest : public EngineTest {
protected:
    // Wipes one file of Size bytes (filled with 0x5A) and checks the content every pass leaves.
    void CheckMethod(int Method, bool DummyMode, int64_t Size) {
        SCOPED_TRACE("method " + std::to_string(Method) + (DummyMode ? " dummy" : "") + " size " +
                     std::to_string(Size));
        std::wstring file = Make(L"f" + std::to_wstring(Method) + L"_" + std::to_wstring(Size) + L".bin", size_t(Size));
        std::vector<int> expected = Passes(Method);
        if (DummyMode && Method != 3) expected.erase(expected.begin());

        std::vector<int> seen;
        Engine->OnPassWritten = [&](const std::wstring& name, HANDLE open, int pass) {
            int value = Passes(Method)[pass];
            seen.push_back(value);
            auto data = open ? ReadThrough(open) : ReadAll(name);
            ASSERT_EQ(int64_t(data.size()), Size) << "pass " << pass << " changed the length";
            for (size_t i = 0; i < data.size(); ++i) {
                uint8_t want = value == R ? Engine->FContentPtr_Random[i % BLOCK_SIZE] : uint8_t(value);
                if (data[i] != want) {
                    ADD_FAILURE() << "pass " << pass << " offset " << i << ": " << int(data[i]) << " not " << int(want);
                    return;
                }
            }
        };
        Engine->USE_WIPE_METHOD = Method;
        Engine->FSpecialMode_SkipFirstNullStep = DummyMode;
        TCountingBar bar;
        uint32_t errors = 0;
        int64_t filesBefore = Counter(STATS_FILES_WIPED), bytesBefore = Counter(STATS_WIPED_BYTES);

        EXPECT_TRUE(Engine->Wipe_File(file, &bar, errors));

        EXPECT_EQ(errors, 0u);
        EXPECT_EQ(seen, expected);
        int64_t blocks = (Size + BLOCK_SIZE - 1) / BLOCK_SIZE;
        EXPECT_EQ(bar.Steps, int64_t(expected.size()) * blocks);
        EXPECT_EQ(Counter(STATS_FILES_WIPED), filesBefore + 1);
        EXPECT_EQ(Counter(STATS_WIPED_BYTES), bytesBefore + Size);
        EXPECT_EQ(IsThere(file), DummyMode);
        Engine->OnPassWritten = nullptr;
        Engine->FSpecialMode_SkipFirstNullStep = false;
    }
};

TEST_F(PassesTest, EveryMethodWritesItsPassesOverTheWholeFileAndTail) {
    // 2,097,153 bytes: one full block and a one-byte tail at offset 2,097,152 per pass.
    for (int method = 0; method < 4; ++method)
        for (int64_t size : {int64_t(5000), int64_t(2097153)}) CheckMethod(method, false, size);
}

TEST_F(PassesTest, BlockBoundariesAndEmptyFile) {
    CheckMethod(0, false, 0);                     // no write, no step, still removed
    CheckMethod(0, false, 2097152);               // one block per pass, no tail: 3 steps
    CheckMethod(2, false, 2 * 2097152 + 4096);    // two blocks and a tail: the random buffer repeats
    CheckMethod(1, false, 1);
}

TEST_F(PassesTest, DummyFileModeLeavesOutTheLeadingZeroPass) {
    for (int method = 0; method < 4; ++method) CheckMethod(method, true, 2097153);
    // Method 1 in dummy-file mode writes nothing at all: the file keeps its content.
    auto data = ReadAll(Dir + L"f1_2097153.bin");
    ASSERT_EQ(data.size(), 2097153u);
    EXPECT_EQ(data[0], 0x5A);
    EXPECT_EQ(data.back(), 0x5A);
}

TEST_F(PassesTest, RandomPassesOfTwoFilesWriteTheSamePattern) {
    std::wstring a = Make(L"a.bin", 3000000), b = Make(L"b.bin", 3000000);
    Engine->FSpecialMode_SkipFirstNullStep = true;  // keeps the files to compare them
    Engine->USE_WIPE_METHOD = 3;
    uint32_t errors = 0;
    ASSERT_TRUE(Engine->Wipe_File(a, nullptr, errors));
    ASSERT_TRUE(Engine->Wipe_File(b, nullptr, errors));
    auto da = ReadAll(a), db = ReadAll(b);
    EXPECT_EQ(da, db);
    EXPECT_TRUE(std::equal(da.begin() + BLOCK_SIZE, da.end(), Engine->FContentPtr_Random));
}

TEST_F(PassesTest, ReadOnlyHiddenSystemFileIsWiped) {
    std::wstring file = Make(L"hidden.bin", 10000);
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    Engine->USE_WIPE_METHOD = 1;
    uint32_t errors = 0;
    EXPECT_TRUE(Engine->Wipe_File(file, nullptr, errors));
    EXPECT_EQ(errors, 0u);
    EXPECT_FALSE(IsThere(file));
}

TEST_F(PassesTest, FileInUseIsLeftAloneWithOneError) {
    std::wstring file = Make(L"locked.bin", 10000);
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_HIDDEN);
    HANDLE h = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    int64_t filesBefore = Counter(STATS_FILES_WIPED);
    uint32_t errors = 3;
    EXPECT_FALSE(Engine->Wipe_File(file, nullptr, errors));
    EXPECT_EQ(errors, 4u);
    EXPECT_EQ(Counter(STATS_FILES_WIPED), filesBefore);
    CloseHandle(h);
    auto data = ReadAll(file);
    EXPECT_EQ(data, std::vector<uint8_t>(10000, 0x5A));
    EXPECT_EQ(GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);  // attributes were cleared
}

TEST_F(PassesTest, StopDuringSecondPassKeepsTheFileAndItsName) {
    // Method 2 on three blocks: the stop comes before the second block of the second pass.
    std::wstring file = Make(L"stop.bin", 3 * BLOCK_SIZE);
    Engine->USE_WIPE_METHOD = 2;
    TCountingBar bar;
    bar.StopAtStep = 5;
    int64_t filesBefore = Counter(STATS_FILES_WIPED);
    uint32_t errors = 0;
    EXPECT_FALSE(Engine->Wipe_File(file, &bar, errors));
    EXPECT_EQ(errors, 0u);
    EXPECT_EQ(bar.Steps, 5);  // passes 3 to 7 made no step
    EXPECT_EQ(Counter(STATS_FILES_WIPED), filesBefore + 1);
    auto data = ReadAll(file);
    ASSERT_EQ(data.size(), 3u * BLOCK_SIZE);
    EXPECT_EQ(data[0], 0xFF);               // second pass, first block
    EXPECT_EQ(data[BLOCK_SIZE - 1], 0xFF);
    EXPECT_EQ(data[BLOCK_SIZE], 0x00);      // still the first pass
    EXPECT_EQ(data.back(), 0x00);

    // After the stop, a further call touches nothing.
    std::wstring other = Make(L"other.bin", 100);
    SetFileAttributesW(other.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(Engine->Wipe_File(other, &bar, errors));
    EXPECT_EQ(errors, 0u);
    EXPECT_EQ(GetFileAttributesW(other.c_str()) & FILE_ATTRIBUTE_READONLY, DWORD(FILE_ATTRIBUTE_READONLY));
    SetFileAttributesW(other.c_str(), 0);
}

TEST_F(PassesTest, MissingFileIsAnError) {
    uint32_t errors = 0;
    EXPECT_FALSE(Engine->Wipe_File(Dir + L"not-there.txt", nullptr, errors));
    EXPECT_EQ(errors, 1u);
}

}  // namespace
