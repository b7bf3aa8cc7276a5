#include "engine/random.h"
#include "engine_fixture.h"

#include <cstring>

namespace {

using enginetest::EngineTest;
using enginetest::IsThere;

class RandomTest : public EngineTest {};

TEST_F(RandomTest, GeneratorSequenceFromKnownSeed) {
    RandSeed = 0;
    const uint32_t expected[] = {0, 31379, 861048, 202580, 272921, 671654};
    for (uint32_t e : expected) EXPECT_EQ(Random(1000000), e);
    RandSeed = 0xFFFFFFFFu;
    EXPECT_LT(Random(7), 7u);
}

TEST_F(RandomTest, RandomizeTakesThePerformanceCounter) {
    LARGE_INTEGER before, after;
    QueryPerformanceCounter(&before);
    Randomize();
    uint32_t seed = RandSeed;
    QueryPerformanceCounter(&after);
    EXPECT_LE(uint32_t(seed - uint32_t(before.QuadPart)), uint32_t(after.QuadPart - before.QuadPart));
}

TEST_F(RandomTest, RandomBufferIsTheGeneratorsSequence) {
    // The seed after construction is the state after the last word; step the generator back
    // through every word (the multiplier's inverse modulo 2^32 is 3,645,876,429).
    uint32_t seed = RandSeed;
    for (int i = int(BLOCK_SIZE / 4) - 1; i >= 0; --i) {
        uint32_t word;
        std::memcpy(&word, Engine->FContentPtr_Random + i * 4, 4);
        ASSERT_EQ(word, uint32_t((uint64_t(seed) * 2147483647u) >> 32)) << "word " << i;
        ASSERT_EQ(word & 0x80000000u, 0u);
        seed = (seed - 1u) * 3645876429u;
    }
}

TEST_F(RandomTest, NamesAreThreeDrawsInDecimalAndSkipTakenNames) {
    RandSeed = 0;
    EXPECT_EQ(Engine->Make_RandomFileName(Dir), Dir + L"031379861048");
    // The next draws when that name is taken: 202580, 272921, 671654.
    Make(L"031379861048", 1);
    RandSeed = 0;
    EXPECT_EQ(Engine->Make_RandomFileName(Dir), Dir + L"202580272921671654");

    for (int i = 0; i < 200; ++i) {
        std::wstring n = Engine->Make_RandomFileName(Dir).substr(Dir.size());
        ASSERT_GE(n.size(), 3u);
        ASSERT_LE(n.size(), 18u);
        ASSERT_EQ(n.find_first_not_of(L"0123456789"), std::wstring::npos) << std::string(n.begin(), n.end());
    }
}

TEST_F(RandomTest, NothingNamedLikeTheFileOrItsRandomNameIsLeft) {
    std::wstring file = Make(L"secret.txt", 5000);
    RandSeed = 0;
    uint32_t errors = 0;
    ASSERT_TRUE(Engine->Wipe_File(file, nullptr, errors));
    EXPECT_EQ(errors, 0u);
    EXPECT_FALSE(IsThere(file));
    EXPECT_FALSE(IsThere(Dir + L"031379861048"));
    std::vector<TDirEntry> left;
    Folder_List(Dir, L"*", left);
    EXPECT_TRUE(left.empty());
}

TEST_F(RandomTest, TakenRandomNameIsSkippedAndLeftAlone) {
    // The first name of the sequence belongs to a file that is not ours.
    std::wstring other = Make(L"031379861048", 10, 0x77);
    std::wstring file = Make(L"secret.txt", 10);
    RandSeed = 0;
    uint32_t errors = 0;
    ASSERT_TRUE(Engine->Wipe_File(file, nullptr, errors));
    EXPECT_EQ(enginetest::ReadAll(other), std::vector<uint8_t>(10, 0x77));
    EXPECT_FALSE(IsThere(file));
    EXPECT_FALSE(IsThere(Dir + L"202580272921671654"));
    std::vector<TDirEntry> left;
    Folder_List(Dir, L"*", left);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].Name, L"031379861048");
}

}  // namespace
