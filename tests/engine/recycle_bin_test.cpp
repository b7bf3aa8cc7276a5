#include "engine_fixture.h"

#include <algorithm>

namespace {

using namespace enginetest;

class RecycleBinTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        MakeFolder(L"s");
        if (!MapDrive(L'S', L"s")) GTEST_SKIP() << "cannot map a drive letter here";
        ASSERT_EQ(GetDriveTypeW(L"S:\\"), UINT(DRIVE_FIXED));
        // Recycle-bin folders of three generations of the system, with the shell's own files.
        for (const wchar_t* f : {L"S:\\$Recycle.Bin", L"S:\\$Recycle.Bin\\S-1-5-21-1", L"S:\\$Recycle.Bin\\S-1-5-21-1\\$RFOLDER",
                                 L"S:\\$Recycle.Bin\\S-1-5-21-1\\$RFOLDER\\sub", L"S:\\RECYCLER", L"S:\\RECYCLER\\S-1-5-21",
                                 L"S:\\RECYCLED"})
            CreateDirectoryW(f, nullptr);
        for (const wchar_t* f : {L"S:\\$Recycle.Bin\\S-1-5-21-1\\$RAB12.txt", L"S:\\$Recycle.Bin\\S-1-5-21-1\\$IAB12.txt",
                                 L"S:\\$Recycle.Bin\\S-1-5-21-1\\$RFOLDER\\inner.txt",
                                 L"S:\\$Recycle.Bin\\S-1-5-21-1\\$RFOLDER\\sub\\deep.txt", L"S:\\RECYCLER\\S-1-5-21\\Dc1.txt",
                                 L"S:\\$Recycle.Bin\\S-1-5-21-1\\$RLOCK.bin"})
            WriteAll(f, std::vector<uint8_t>(3000, 0x42));
        for (const wchar_t* f : {L"S:\\$Recycle.Bin\\S-1-5-21-1\\desktop.ini", L"S:\\RECYCLER\\S-1-5-21\\INFO2",
                                 L"S:\\RECYCLER\\S-1-5-21\\info", L"S:\\RECYCLED\\DeskTop.INI"})
            WriteAll(f, std::vector<uint8_t>(100, 0x01));
        // A run wipes the recycle bins of every fixed drive, Z: (the Linux root) included: the
        // tests go on only while the test's own drive is the only one that holds any.
        TStringList all;
        Engine->RecycleBin_GetFiles(all);
        for (const auto& p : all)
            ASSERT_EQ(p.rfind(L"S:\\", 0), 0u) << "a recycle bin outside the test: " << std::string(p.begin(), p.end());
    }
    std::vector<std::wstring> OnS(const TStringList& all) {
        std::vector<std::wstring> r;
        for (const auto& p : all)
            if (p.rfind(L"S:\\", 0) == 0) r.push_back(p);
        return r;
    }
};

TEST_F(RecycleBinTest, ListsEveryFileButTheShellsOwn) {
    TStringList files;
    files.push_back(L"left over");
    Engine->RecycleBin_GetFiles(files);
    auto s = OnS(files);
    EXPECT_EQ(s.size(), files.size()) << "only the test's drive holds a recycle bin";
    ASSERT_EQ(s.size(), 6u);
    EXPECT_EQ(s[0], L"S:\\RECYCLER\\S-1-5-21\\Dc1.txt");  // RECYCLER comes before $recycle.bin
    auto has = [&](const wchar_t* p) { return std::find(s.begin(), s.end(), std::wstring(p)) != s.end(); };
    EXPECT_TRUE(has(L"S:\\$recycle.bin\\S-1-5-21-1\\$RFOLDER\\sub\\deep.txt"));
    EXPECT_TRUE(has(L"S:\\$recycle.bin\\S-1-5-21-1\\$IAB12.txt"));
    EXPECT_EQ(Engine->RecycleBin_GetFileCount(), 6u);
}

TEST_F(RecycleBinTest, LockedFileKeepsTheRowUntilItIsGone) {
    HANDLE lock = CreateFileW(L"S:\\$Recycle.Bin\\S-1-5-21-1\\$RLOCK.bin", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    Engine->Add_RecycleBin(L"Papierkorb");
    Engine->USE_WIPE_METHOD = 0;
    uint32_t files, blocks;
    int64_t size;
    Engine->Prepare_CountFiles_and_TotalSize(files, size, blocks);
    EXPECT_EQ(files, 6u);
    EXPECT_EQ(size, 6 * 3000);
    EXPECT_EQ(blocks, 18u);

    Run(0);
    EXPECT_EQ(Errors, 1u);
    EXPECT_EQ(FilesDeleted, 5u);
    auto rows = Rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_TRUE(rows[0].Done);  // done, but kept while the recycle bin still holds a file
    EXPECT_EQ(Engine->RecycleBin_GetFileCount(), 1u);
    EXPECT_TRUE(IsThere(L"S:\\RECYCLER\\S-1-5-21\\INFO2"));  // never wiped

    CloseHandle(lock);
    Run(0);
    EXPECT_EQ(Errors, 0u);
    EXPECT_EQ(FilesDeleted, 1u);
    EXPECT_EQ(Tree->RootNodeCount(), 0u);
    EXPECT_EQ(Engine->RecycleBin_GetFileCount(), 0u);
}

TEST_F(RecycleBinTest, StopLeavesTheRestAndTheRow) {
    Engine->Add_RecycleBin(L"Papierkorb");
    TCountingBar bar;
    bar.StopAtStep = 2;  // during the second file (one step per file with method 1)
    Run(1, &bar);
    EXPECT_EQ(Errors, 0u);
    EXPECT_EQ(FilesDeleted, 1u);
    auto rows = Rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_FALSE(rows[0].Done);
    EXPECT_EQ(Engine->RecycleBin_GetFileCount(), 5u);
}

}  // namespace
