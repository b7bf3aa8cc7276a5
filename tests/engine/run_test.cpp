#include "engine_fixture.h"

namespace {

using namespace enginetest;

class RunTest : public EngineTest {
protected:
    void Count(uint32_t& files, int64_t& size, uint32_t& blocks) {
        Engine->Prepare_CountFiles_and_TotalSize(files, size, blocks);
    }
};

TEST_F(RunTest, CountingTable) {
    struct Case {
        const char* What;
        int Method;
        std::function<void(RunTest&)> Fill;
        uint32_t Files;
        int64_t Size;
        uint32_t Blocks;
    } cases[] = {
        {"one file of 5,000,000 bytes, method 2", 2,
         [](RunTest& t) { t.Engine->Add_File(t.Make(L"five.bin", 5000000)); }, 1, 5000000, 21},
        {"an empty file and a one-byte file, method 0", 0,
         [](RunTest& t) {
             t.Engine->Add_File(t.Make(L"empty.bin", 0));
             t.Engine->Add_File(t.Make(L"one.bin", 1));
         },
         2, 1, 3},
        {"a missing file counts as a file of no blocks", 3,
         [](RunTest& t) { t.Engine->Add_File(t.Dir + L"missing.bin"); }, 1, 0, 0},
        {"a tree with hidden files and a dot folder, method 1", 1,
         [](RunTest& t) {
             t.MakeFolder(L"tree");
             t.MakeFolder(L"tree\\.cache");
             t.MakeFolder(L"tree\\empty");
             t.Make(L"tree\\a.bin", 2097152);
             t.Make(L"tree\\.cache\\b.bin", 2097153);
             std::wstring h = t.Make(L"tree\\.cache\\h.bin", 0);
             SetFileAttributesW(h.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
             t.Engine->Add_Folder(t.Dir + L"tree");
         },
         3, 4194305, 3},
        {"a missing folder counts nothing", 0, [](RunTest& t) { t.Engine->Add_Folder(t.Dir + L"nothing"); }, 0, 0, 0},
    };
    for (auto& c : cases) {
        Tree->Clear();
        c.Fill(*this);
        Engine->USE_WIPE_METHOD = c.Method;
        uint32_t files = 99, blocks = 99;
        int64_t size = 99;
        Count(files, size, blocks);
        EXPECT_EQ(files, c.Files) << c.What;
        EXPECT_EQ(size, c.Size) << c.What;
        EXPECT_EQ(blocks, c.Blocks) << c.What;
    }
}

TEST_F(RunTest, RunAdvancesTheBarAsCountedAndRemovesDoneRows) {
    std::wstring file = Make(L"five.bin", 5000000);
    Engine->Add_File(file);
    MakeFolder(L"tree");
    MakeFolder(L"tree\\sub");
    Make(L"tree\\sub\\x.bin", 3000);
    Engine->Add_Folder(Dir + L"tree");
    Engine->USE_WIPE_METHOD = 2;
    uint32_t files, blocks;
    int64_t size;
    Count(files, size, blocks);
    EXPECT_EQ(blocks, 28u);
    TCountingBar bar;
    Run(2, &bar);
    EXPECT_EQ(bar.Steps, 28);
    EXPECT_EQ(Errors, 0u);
    EXPECT_EQ(FilesDeleted, 2u);
    EXPECT_EQ(Tree->RootNodeCount(), 0u);
    EXPECT_FALSE(IsThere(file));
    EXPECT_FALSE(IsThere(Dir + L"tree"));
    EXPECT_FALSE(Engine->FSpecialMode_SkipFirstNullStep);
}

TEST_F(RunTest, LockedFileInSubfolderCountsOneErrorAndKeepsTheTree) {
    MakeFolder(L"tree");
    MakeFolder(L"tree\\a");
    MakeFolder(L"tree\\b");
    MakeFolder(L"tree\\c");
    Make(L"tree\\top.bin", 100);
    Make(L"tree\\a\\1.bin", 100);
    std::wstring locked = Make(L"tree\\b\\locked.bin", 100);
    Make(L"tree\\c\\2.bin", 100);
    Make(L"tree\\c\\3.bin", 100);
    std::wstring other = Make(L"other.bin", 100);
    Engine->Add_Folder(Dir + L"tree");
    Engine->Add_File(other);
    HANDLE h = CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    Run(1);
    CloseHandle(h);

    EXPECT_EQ(Errors, 1u);
    EXPECT_EQ(FilesDeleted, 5u);
    auto rows = Rows();
    ASSERT_EQ(rows.size(), 1u);  // the file row is done and gone, the tree stays
    EXPECT_EQ(rows[0].Typ, TYP_FOLDER);
    EXPECT_FALSE(rows[0].Done);
    EXPECT_TRUE(IsThere(locked));
    EXPECT_EQ(ReadAll(locked), std::vector<uint8_t>(100, 0x5A));
    EXPECT_TRUE(IsThere(Dir + L"tree\\a"));  // no folder of a failed tree is removed
    std::vector<std::wstring> left;
    Folder_GetFilesRecursive(Dir + L"tree\\", L"*", left);
    EXPECT_EQ(left, std::vector<std::wstring>{locked});
}

TEST_F(RunTest, TreeOfEmptyFoldersAndMissingRows) {
    MakeFolder(L"tree");
    MakeFolder(L"tree\\a");
    MakeFolder(L"tree\\a\\b");
    MakeFolder(L"tree\\c");
    SetFileAttributesW((Dir + L"tree\\a\\b").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    Engine->Add_Folder(Dir + L"tree\\");
    Engine->Add_Folder(Dir + L"missing");
    Engine->Add_File(Dir + L"missing.txt");
    Run(0);
    EXPECT_EQ(Errors, 1u);  // the missing file
    EXPECT_EQ(FilesDeleted, 0u);
    auto rows = Rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].Text, Dir + L"missing.txt");
    EXPECT_FALSE(IsThere(Dir + L"tree"));
    EXPECT_TRUE(IsThere(Root));
}

TEST_F(RunTest, StopDuringFirstRowLeavesLaterRowsUntouched) {
    std::wstring first = Make(L"1.bin", 2 * BLOCK_SIZE);
    std::wstring second = Make(L"2.bin", 100);
    std::wstring third = Make(L"3.bin", 100);
    for (auto* f : {&second, &third}) SetFileAttributesW(f->c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    for (auto* f : {&first, &second, &third}) Engine->Add_File(*f);
    TCountingBar bar;
    bar.StopAtStep = 2;
    Run(0, &bar);
    EXPECT_EQ(Errors, 0u);
    EXPECT_EQ(FilesDeleted, 0u);
    EXPECT_EQ(Tree->RootNodeCount(), 3u);
    EXPECT_TRUE(IsThere(first));
    for (auto* f : {&second, &third}) {
        EXPECT_EQ(GetFileAttributesW(f->c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
                  DWORD(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
        EXPECT_EQ(ReadAll(*f), std::vector<uint8_t>(100, 0x5A));
    }
}

TEST_F(RunTest, StopBetweenFilesOfAFolderTouchesNoFurtherFile) {
    MakeFolder(L"tree");
    MakeFolder(L"tree\\sub");
    std::vector<std::wstring> files;
    for (int i = 0; i < 4; ++i) files.push_back(Make(L"tree\\f" + std::to_wstring(i) + L".bin", 1000));
    files.push_back(Make(L"tree\\sub\\deep.bin", 1000));
    for (auto& f : files) SetFileAttributesW(f.c_str(), FILE_ATTRIBUTE_HIDDEN);
    Engine->Add_Folder(Dir + L"tree");
    TCountingBar bar;
    bar.StopAtStep = 2;  // the first file is done; the second is stopped before it is written
    int64_t filesBefore = Counter(STATS_FILES_WIPED);
    Run(1, &bar);

    EXPECT_EQ(Errors, 0u);
    EXPECT_EQ(FilesDeleted, 1u);
    EXPECT_EQ(Tree->RootNodeCount(), 1u);
    EXPECT_EQ(Counter(STATS_FILES_WIPED), filesBefore + 2);  // the destroyed one and the stopped one
    int gone = 0, untouched = 0, stopped = 0;
    for (auto& f : files) {
        if (!IsThere(f)) {
            ++gone;
            continue;
        }
        bool hidden = GetFileAttributesW(f.c_str()) & FILE_ATTRIBUTE_HIDDEN;
        if (hidden && ReadAll(f) == std::vector<uint8_t>(1000, 0x5A))
            ++untouched;
        else
            ++stopped;
    }
    EXPECT_EQ(gone, 1);
    EXPECT_EQ(stopped, 1);  // its attributes were cleared, its content not yet written
    EXPECT_EQ(untouched, 3);
}

TEST_F(RunTest, StopAskedThroughAWindowMessageEndsARunOfManySmallFiles) {
    // The stop button reaches the engine as a window message; the engine does not look at the
    // queue before every small file, but often enough that a stop asked while the third file is
    // done ends the run long before the last of two hundred, also when the files are empty.
    const int count = 200;
    HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    static const UINT kStop = RegisterWindowMessageW(L"BlankoTestStop");
    static WNDPROC chained;
    chained = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == kStop) {
            FLAG_STOP = true;
            return 0;
        }
        return CallWindowProcW(chained, h, m, w, l);
    }));
    for (size_t size : {size_t(100), size_t(0)}) {
        SCOPED_TRACE(size ? "small files" : "empty files");
        FLAG_STOP = false;
        Tree->Clear();
        const std::wstring folder = L"many" + std::to_wstring(size);
        MakeFolder(folder);
        for (int i = 0; i < count; ++i) Make(folder + L"\\f" + std::to_wstring(1000 + i) + L".bin", size);
        int passes = 0;
        Engine->OnPassWritten = [&](const std::wstring&, HANDLE, int) {
            if (++passes == 3) PostMessageW(window, kStop, 0, 0);
        };
        Engine->Add_Folder(Dir + folder);
        Run(1);

        EXPECT_TRUE(FLAG_STOP);
        EXPECT_GE(FilesDeleted, 2u);
        EXPECT_LT(FilesDeleted, uint32_t(count / 2));
        EXPECT_EQ(Tree->RootNodeCount(), 1u);
        std::vector<TDirEntry> left;
        Folder_List(Dir + folder + L"\\", L"*", left);
        EXPECT_EQ(left.size() + FilesDeleted, size_t(count));
    }
    DestroyWindow(window);
}

TEST_F(RunTest, DriveRootRowWipesEveryFileAndRemovesNoFolder) {
    // A drive of the test's own: the letter R: mapped to a folder of this test.
    MakeFolder(L"drive");
    MakeFolder(L"drive\\a");
    MakeFolder(L"drive\\a\\b");
    Make(L"drive\\root.bin", 100);
    Make(L"drive\\a\\b\\deep.bin", 100);
    std::string target = UnixPath(Dir + L"drive");
    if (target.empty() || RunLinux("ln -sfn " + Quote(target) + " \"$WINEPREFIX/dosdevices/r:\"") != 0)
        GTEST_SKIP() << "cannot map a drive letter here";
    // Every file of R: is wiped: R: must be the test's folder and nothing else.
    std::vector<TDirEntry> top;
    Folder_List(L"R:\\", L"*", top);
    if (top.size() != 2 || !IsThere(L"R:\\root.bin") || !IsThere(L"R:\\a\\b\\deep.bin")) {
        RunLinux("rm -f \"$WINEPREFIX/dosdevices/r:\"");
        FAIL() << "R: is not the test's own folder";
    }
    Engine->Add_Folder(L"R:\\");
    Run(1);
    RunLinux("rm -f \"$WINEPREFIX/dosdevices/r:\"");
    EXPECT_EQ(Errors, 0u);
    EXPECT_EQ(FilesDeleted, 2u);
    EXPECT_EQ(Tree->RootNodeCount(), 0u);
    EXPECT_FALSE(IsThere(Dir + L"drive\\root.bin"));
    EXPECT_FALSE(IsThere(Dir + L"drive\\a\\b\\deep.bin"));
    EXPECT_TRUE(IsThere(Dir + L"drive\\a\\b"));
}

}  // namespace
