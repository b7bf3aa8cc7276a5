// What must never happen: writing through links, touching what was not selected, reporting a
// file as destroyed that is still there, failing on deep trees.
#include "engine_fixture.h"

namespace {

using namespace enginetest;

class SafetyTest : public EngineTest {
protected:
    // Runs a script from Linux or skips the test where that is impossible.
    bool Linux(const std::string& Script) {
        int rc = RunLinux(Script);
        if (rc == -1) return false;
        EXPECT_EQ(rc, 0) << Script;
        return rc == 0;
    }
    std::string U(const std::wstring& Relative) { return Quote(UnixPath(Dir + Relative)); }
};

std::vector<uint8_t> Pattern(size_t Size, uint8_t Seed) {
    std::vector<uint8_t> v(Size);
    for (size_t i = 0; i < Size; ++i) v[i] = uint8_t(i * 31 + Seed);
    return v;
}

TEST_F(SafetyTest, DirectoryLinksInsideATreeNeverReachTheirTargets) {
    // outside\ holds files the user did not select; the tree links to it and to an empty folder
    // (Wine removes the target of a link to an empty folder when asked to remove the link).
    MakeFolder(L"outside");
    MakeFolder(L"outside\\deeper");
    MakeFolder(L"emptyoutside");
    MakeFolder(L"tree");
    MakeFolder(L"tree\\sub");
    const auto outsideA = Pattern(3000000, 1), outsideB = Pattern(777, 2);
    WriteAll(Dir + L"outside\\a.bin", outsideA);
    WriteAll(Dir + L"outside\\deeper\\b.bin", outsideB);
    Make(L"tree\\mine.bin", 5000);
    Make(L"tree\\sub\\mine2.bin", 5000);
    if (!Linux("ln -s ../outside " + U(L"tree\\link") + " && ln -s ../../emptyoutside " + U(L"tree\\sub\\elink")))
        GTEST_SKIP() << "no Linux side to make links with";
    ASSERT_NE(GetFileAttributesW((Dir + L"tree\\link").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT, 0u);

    Engine->Add_Folder(Dir + L"tree");
    Engine->USE_WIPE_METHOD = 0;
    uint32_t files, blocks;
    int64_t size;
    Engine->Prepare_CountFiles_and_TotalSize(files, size, blocks);
    EXPECT_EQ(files, 2u);  // only the tree's own files
    EXPECT_EQ(size, 10000);

    Run(0);

    EXPECT_EQ(ReadAll(Dir + L"outside\\a.bin"), outsideA);
    EXPECT_EQ(ReadAll(Dir + L"outside\\deeper\\b.bin"), outsideB);
    EXPECT_TRUE(IsThere(Dir + L"emptyoutside"));
    EXPECT_FALSE(IsThere(Dir + L"tree\\mine.bin"));
    EXPECT_FALSE(IsThere(Dir + L"tree\\sub\\mine2.bin"));
    EXPECT_EQ(FilesDeleted, 2u);
    // A link is removed as a link where the system lets us open the link itself; where it cannot
    // (Wine), it stays, counts one error and keeps the row.
    uint32_t linksLeft = IsThere(Dir + L"tree\\link") + IsThere(Dir + L"tree\\sub\\elink");
    EXPECT_EQ(Errors, linksLeft);
    EXPECT_EQ(Tree->RootNodeCount(), linksLeft ? 1u : 0u);
}

TEST_F(SafetyTest, SubfolderReplacedByALinkDuringTheRunIsNotEntered) {
    // While the tree's own file is overwritten, someone puts a link to a folder outside the
    // selection in the place of the subfolder that was listed before.
    MakeFolder(L"outside");
    const auto data = Pattern(5000, 9);
    WriteAll(Dir + L"outside\\keep.bin", data);
    MakeFolder(L"tree");
    MakeFolder(L"tree\\sub");
    Make(L"tree\\first.bin", 3000);
    Make(L"tree\\sub\\mine.bin", 3000);
    if (RunLinux("true") != 0) GTEST_SKIP() << "no Linux side to make links with";
    bool swapped = false;
    Engine->OnPassWritten = [&](const std::wstring& name, HANDLE, int) {
        if (swapped || name.find(L"first.bin") == std::wstring::npos) return;
        swapped = Linux("mv " + U(L"tree\\sub") + " " + U(L"moved") + " && ln -s ../outside " + U(L"tree\\sub"));
    };
    Engine->Add_Folder(Dir + L"tree");
    Run(1);
    ASSERT_TRUE(swapped);
    EXPECT_EQ(ReadAll(Dir + L"outside\\keep.bin"), data);
    EXPECT_GE(Errors, 1u);
    EXPECT_EQ(Tree->RootNodeCount(), 1u);  // not reported done
}

TEST_F(SafetyTest, FoldersUnderTheWalkCannotBeMovedAway) {
    // While a file deep in the tree is overwritten, another program tries to move the folders
    // on its way (to put a link in their place).
    MakeFolder(L"tree");
    MakeFolder(L"tree\\a");
    MakeFolder(L"tree\\a\\b");
    std::wstring file = Make(L"tree\\a\\b\\f.bin", 3000);
    std::vector<std::wstring> moved;
    MakeFolder(L"single");
    std::wstring single = Make(L"single\\s.bin", 3000);
    Engine->OnPassWritten = [&](const std::wstring& name, HANDLE, int) {
        const bool inTree = name.find(L"f.bin") != std::wstring::npos;
        for (const wchar_t* f : {L"tree", L"tree\\a", L"tree\\a\\b", L"single"})
            if (inTree == (f[0] == L't') && MoveFileW((Dir + f).c_str(), (Dir + L"elsewhere").c_str()))
                moved.push_back(f);
    };
    Engine->Add_Folder(Dir + L"tree");
    Engine->Add_File(single);  // a file row holds its own folder
    Run(1);
    for (const auto& m : moved) ADD_FAILURE() << "moved away: " << std::string(m.begin(), m.end());
    EXPECT_EQ(Errors, 0u);
    EXPECT_FALSE(IsThere(file));
    EXPECT_FALSE(IsThere(single));
}

TEST_F(SafetyTest, FolderReplacedByALinkBetweenPassesGetsNoFurtherPass) {
    // A file of two blocks is opened anew for every pass. After its first pass, someone puts a
    // link to an outside folder holding a file of the same name in the place of its folder.
    MakeFolder(L"outside");
    const auto data = Pattern(2 * BLOCK_SIZE, 3);
    WriteAll(Dir + L"outside\\big.bin", data);
    MakeFolder(L"tree");
    MakeFolder(L"tree\\sub");
    std::wstring big = Make(L"tree\\sub\\big.bin", 2 * BLOCK_SIZE);
    if (RunLinux("true") != 0) GTEST_SKIP() << "no Linux side to make links with";
    bool swapped = false;
    Engine->OnPassWritten = [&](const std::wstring&, HANDLE, int pass) {
        if (swapped || pass != 0) return;
        swapped = Linux("mv " + U(L"tree\\sub") + " " + U(L"moved") + " && ln -s ../outside " + U(L"tree\\sub"));
    };
    for (bool folderRow : {false, true}) {
        SCOPED_TRACE(folderRow ? "folder row" : "file row");
        if (swapped) {
            ASSERT_TRUE(Linux("rm " + U(L"tree\\sub") + " && mv " + U(L"moved") + " " + U(L"tree\\sub")));
            Make(L"tree\\sub\\big.bin", 2 * BLOCK_SIZE);
            swapped = false;
        }
        Tree->Clear();
        if (folderRow)
            Engine->Add_Folder(Dir + L"tree");
        else
            Engine->Add_File(big);
        Run(0);
        ASSERT_TRUE(swapped);
        EXPECT_EQ(ReadAll(Dir + L"outside\\big.bin"), data);
        EXPECT_EQ(Errors, 1u);
        EXPECT_EQ(Tree->RootNodeCount(), 1u);
    }
}

TEST_F(SafetyTest, FileSwappedInAfterTheLastPassIsNeitherRenamedNorDeleted) {
    // A file of two blocks is written through handles of its own, so between its last pass and
    // its rename nobody holds it. Someone moves it away and puts another file under its name:
    // that file was never overwritten and must neither disappear nor count as destroyed.
    const auto other = Pattern(5000, 9);
    for (bool folderRow : {false, true}) {
        SCOPED_TRACE(folderRow ? "folder row" : "file row");
        CleanFolder();
        ASSERT_TRUE(CreateDirectoryW(Root.c_str(), nullptr));
        MakeFolder(L"tree");
        std::wstring big = Make(L"tree\\big.bin", 2 * BLOCK_SIZE);
        bool swapped = false;
        Engine->OnPassWritten = [&](const std::wstring&, HANDLE, int) {
            swapped = MoveFileW(big.c_str(), (Dir + L"moved.bin").c_str());
            WriteAll(big, other);
        };
        Tree->Clear();
        if (folderRow)
            Engine->Add_Folder(Dir + L"tree");
        else
            Engine->Add_File(big);
        Run(1);
        ASSERT_TRUE(swapped);
        EXPECT_EQ(ReadAll(big), other);
        EXPECT_EQ(ReadAll(Dir + L"moved.bin"), std::vector<uint8_t>(2 * BLOCK_SIZE, 0x00));
        EXPECT_EQ(Errors, 1u);
        EXPECT_EQ(FilesDeleted, 0u);
        EXPECT_EQ(Tree->RootNodeCount(), 1u);
    }
}

TEST_F(SafetyTest, SelectedLinkIsNeverFollowed) {
    MakeFolder(L"outside");
    const auto data = Pattern(5000, 7);
    WriteAll(Dir + L"outside\\keep.bin", data);
    if (!Linux("ln -s outside " + U(L"link"))) GTEST_SKIP() << "no Linux side to make links with";
    Engine->Add_Folder(Dir + L"link");
    Engine->Add_Folder(Dir + L"link\\");
    uint32_t files, blocks;
    int64_t size;
    Engine->Prepare_CountFiles_and_TotalSize(files, size, blocks);
    EXPECT_EQ(files, 0u);
    Run(2);
    EXPECT_EQ(ReadAll(Dir + L"outside\\keep.bin"), data);
    EXPECT_EQ(FilesDeleted, 0u);
    // The clean-up neither walks into the link nor removes what it points to.
    Folder_RemoveSubfolders(Dir + L"link\\", 0);
    Folder_RemoveTree(Dir + L"link\\");
    EXPECT_EQ(ReadAll(Dir + L"outside\\keep.bin"), data);
}

TEST_F(SafetyTest, TreeDeeperThan260CharactersIsCountedWipedAndRemoved) {
    std::wstring rel = L"deep";
    MakeFolder(rel);
    while ((Dir + rel).size() < 400) {
        rel += L"\\level_with_a_rather_long_name";
        MakeFolder(rel);
    }
    std::wstring deepFile = Make(rel + L"\\deep.bin", 2097153);
    Make(L"deep\\top.bin", 10);
    std::wstring single = Make(rel + L"\\single.bin", 4000);
    ASSERT_GT(deepFile.size(), 300u);
    ASSERT_TRUE(IsThere(deepFile));

    Engine->Add_Folder(Dir + L"deep");
    Engine->Add_File(single);  // a file row longer than 260 characters, in normal form
    Engine->USE_WIPE_METHOD = 0;
    uint32_t files, blocks;
    int64_t size;
    Engine->Prepare_CountFiles_and_TotalSize(files, size, blocks);
    EXPECT_EQ(files, 4u);  // the single file is also inside the tree
    EXPECT_EQ(size, 2097153 + 10 + 4000 + 4000);
    EXPECT_EQ(blocks, 3u * (2 + 1 + 1 + 1));

    Run(0);
    EXPECT_EQ(Errors, 1u);  // the file row: its file went with the tree before it was reached
    EXPECT_EQ(FilesDeleted, 3u);
    EXPECT_FALSE(IsThere(Dir + L"deep"));
    EXPECT_EQ(Tree->RootNodeCount(), 1u);
}

TEST_F(SafetyTest, DeepFileRowAlone) {
    std::wstring rel = L"d";
    MakeFolder(rel);
    while ((Dir + rel).size() < 300) {
        rel += L"\\another_long_folder_name";
        MakeFolder(rel);
    }
    std::wstring file = Make(rel + L"\\x.bin", 3000);
    Engine->Add_File(file);
    Run(3);
    EXPECT_EQ(Errors, 0u);
    EXPECT_EQ(FilesDeleted, 1u);
    EXPECT_FALSE(IsThere(file));
    std::vector<TDirEntry> left;
    Folder_List(Dir + rel + L"\\", L"*", left);
    EXPECT_TRUE(left.empty());  // no random name left behind either
}

TEST_F(SafetyTest, FailedPassIsAFailureAndKeepsTheFile) {
    // Sparse files on a full file system: overwriting their holes needs space the drive does not
    // have, so the writes fail with "disk full" (full blocks in one file, only a tail in the other).
    MakeFolder(L"full");
    std::string mount = U(L"full");
    if (RunLinux("mount -t tmpfs -o size=1m tmpfs " + mount) != 0) GTEST_SKIP() << "cannot mount a small file system";
    ASSERT_TRUE(Linux("truncate -s 3M " + mount + "/sparse.bin && truncate -s 5000 " + mount +
                      "/sparsetail.bin && (dd if=/dev/zero of=" + mount + "/fill bs=4k 2>/dev/null || true)"));
    std::wstring sparse = Dir + L"full\\sparse.bin", sparseTail = Dir + L"full\\sparsetail.bin";
    Engine->Add_File(sparse);
    Engine->Add_File(sparseTail);
    int64_t filesBefore = Counter(STATS_FILES_WIPED);
    Run(0);
    EXPECT_EQ(Errors, 2u);  // one per file
    EXPECT_EQ(FilesDeleted, 0u);
    EXPECT_EQ(Counter(STATS_FILES_WIPED), filesBefore);
    EXPECT_EQ(Tree->RootNodeCount(), 2u);
    EXPECT_TRUE(IsThere(sparse));
    EXPECT_TRUE(IsThere(sparseTail));
    std::vector<TDirEntry> left;
    Folder_List(Dir + L"full\\", L"*", left);
    EXPECT_EQ(left.size(), 3u);  // no random name either
}

TEST_F(SafetyTest, FileThatCannotBeDeletedIsAFailure) {
    // An append-only folder: its files can be overwritten but neither renamed nor deleted (and
    // Wine even reports the delete as done).
    MakeFolder(L"keep");
    std::wstring file = Make(L"keep\\f.bin", 3000);
    if (!Linux("chattr +a " + U(L"keep"))) GTEST_SKIP() << "no Linux side to set attributes with";
    Engine->Add_Folder(Dir + L"keep");
    Run(1);
    EXPECT_EQ(Errors, 1u);
    EXPECT_EQ(FilesDeleted, 0u);
    EXPECT_EQ(Tree->RootNodeCount(), 1u);
    EXPECT_TRUE(IsThere(file));
    EXPECT_EQ(ReadAll(file), std::vector<uint8_t>(3000, 0x00));  // overwritten, but not reported destroyed
}

}  // namespace
