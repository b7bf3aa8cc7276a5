#include "engine_fixture.h"

#include <algorithm>

namespace {

using namespace enginetest;

class FileSystemTest : public EngineTest {};

TEST_F(FileSystemTest, SizesAndInUse) {
    std::wstring empty = Make(L"empty.bin", 0), small = Make(L"small.bin", 1234);
    // A sparse file above 4 GiB: its size needs both halves of the directory entry.
    std::wstring big = Dir + L"big.bin";
    HANDLE h = CreateFileW(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    LARGE_INTEGER end;
    end.QuadPart = 5LL * 1024 * 1024 * 1024 + 3;
    SetFilePointerEx(h, end, nullptr, FILE_BEGIN);
    SetEndOfFile(h);
    CloseHandle(h);
    struct Case {
        std::wstring Path;
        int64_t Size;
        bool InUse;
    } cases[] = {
        {empty, 0, false},
        {small, 1234, false},
        {big, 5LL * 1024 * 1024 * 1024 + 3, false},
        {Root, -1, true},                 // a folder
        {Dir + L"missing.bin", -1, true},  // not there
        {Dir + L"*.bin", -1, true},        // a pattern is no file
    };
    for (const auto& c : cases) {
        std::string what(c.Path.begin(), c.Path.end());
        EXPECT_EQ(File_GetSize(c.Path), c.Size) << what;
        EXPECT_EQ(File_IsInUse(c.Path), c.InUse) << what;
    }
    // Held open by someone else, even for reading only.
    h = CreateFileW(small.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_TRUE(File_IsInUse(small));
    CloseHandle(h);
    EXPECT_FALSE(File_IsInUse(small));
}

TEST_F(FileSystemTest, ListingsWalkDotFoldersInSystemOrder) {
    MakeFolder(L"a");
    MakeFolder(L"a\\.cache");
    MakeFolder(L"a\\.cache\\x");
    MakeFolder(L"a\\b");
    Make(L"a\\1.txt", 1);
    Make(L"a\\2.dat", 1);
    Make(L"a\\.cache\\c.txt", 1);
    Make(L"a\\.cache\\x\\d.txt", 1);
    std::wstring a = Dir + L"a\\";

    TStringList files{L"kept"};
    Folder_GetFilesRecursive(a, L"*.txt", files);
    ASSERT_EQ(files.size(), 4u);
    EXPECT_EQ(files[0], L"kept");  // the list is not cleared
    EXPECT_EQ(files[1], a + L"1.txt");  // a folder's own files come before its subfolders'
    EXPECT_NE(std::find(files.begin(), files.end(), a + L".cache\\x\\d.txt"), files.end());
    // The deeper file comes after its parent folder's file.
    EXPECT_LT(std::find(files.begin(), files.end(), a + L".cache\\c.txt"),
              std::find(files.begin(), files.end(), a + L".cache\\x\\d.txt"));

    TStringList direct;
    Folder_GetFiles(a, L"*.*", direct);
    std::sort(direct.begin(), direct.end());
    EXPECT_EQ(direct, (TStringList{a + L"1.txt", a + L"2.dat"}));

    TStringList names;
    Folder_GetSubfolderNames(a, names);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (TStringList{L".cache", L"b"}));
}

TEST_F(FileSystemTest, RemovingEmptiedTrees) {
    MakeFolder(L"top");
    MakeFolder(L"top\\empty");
    MakeFolder(L"top\\empty\\deeper");
    MakeFolder(L"top\\kept");
    MakeFolder(L"top\\kept\\holder");
    Make(L"top\\kept\\holder\\file.txt", 1);
    SetFileAttributesW((Dir + L"top\\empty\\deeper").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);

    Folder_RemoveSubfolders(Dir + L"top\\", 0);
    EXPECT_FALSE(IsThere(Dir + L"top\\empty"));
    EXPECT_TRUE(IsThere(Dir + L"top\\kept\\holder\\file.txt"));
    EXPECT_TRUE(IsThere(Dir + L"top"));  // depth 0 keeps the folder itself

    DeleteFileW((Dir + L"top\\kept\\holder\\file.txt").c_str());
    Folder_RemoveTree(Dir + L"top");  // without the trailing separator
    EXPECT_FALSE(IsThere(Dir + L"top"));
}

TEST_F(FileSystemTest, PathIsFolderAndDrives) {
    EXPECT_TRUE(Path_IsFolder(Root));
    EXPECT_FALSE(Path_IsFolder(Make(L"f.txt", 1)));
    EXPECT_FALSE(Path_IsFolder(Dir + L"missing"));
    EXPECT_FALSE(Path_IsFolder(L"\\\\server\\share\\folder"));
    EXPECT_FALSE(Path_IsFolder(L"relative\\folder"));

    std::string drives = Disk_GetFixedDrives();
    EXPECT_NE(drives.find('C'), std::string::npos);
    EXPECT_EQ(drives.find('A'), std::string::npos);
    EXPECT_TRUE(std::is_sorted(drives.begin(), drives.end()));

    int64_t free = 0, total = 0;
    EXPECT_TRUE(Disk_GetFreeSpace(L'C', free, total));
    EXPECT_GT(total, 0);
    EXPECT_FALSE(Disk_GetFreeSpace(L'Q', free, total));
    EXPECT_EQ(free, -1);
    EXPECT_EQ(total, -1);
}

TEST_F(FileSystemTest, ExtendedPaths) {
    struct Case {
        const wchar_t* In;
        const wchar_t* Out;
    } cases[] = {
        {L"C:\\a\\b.txt", L"\\\\?\\C:\\a\\b.txt"},
        {L"C:/a/../c/", L"\\\\?\\C:\\c\\"},
        {L"\\\\server\\share\\x", L"\\\\?\\UNC\\server\\share\\x"},
        {L"\\\\?\\C:\\already", L"\\\\?\\C:\\already"},
        {L"", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(Path_Extended(c.In), c.Out);
    EXPECT_TRUE(Path_IsVolumeRoot(L"\\\\?\\C:\\"));
    EXPECT_TRUE(Path_IsVolumeRoot(L"\\\\?\\UNC\\server\\share\\"));
    EXPECT_FALSE(Path_IsVolumeRoot(L"\\\\?\\C:\\a\\"));
    EXPECT_FALSE(Path_IsVolumeRoot(L"\\\\?\\UNC\\server\\share\\a"));
}

TEST_F(FileSystemTest, RenameByHandleNeverReplacesAndStaysInItsFolder) {
    MakeFolder(L"sub");
    const std::wstring file = Make(L"sub\\a.bin", 10, 0x11);
    Make(L"sub\\taken.bin", 10, 0x22);
    const std::wstring folderPath = Path_Extended(Dir + L"sub");
    handles::UniqueFile folder(CreateFileW(folderPath.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    ASSERT_TRUE(folder);
    handles::UniqueFile h(CreateFileW(Path_Extended(file).c_str(), DELETE | GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                      nullptr));
    ASSERT_TRUE(h);

    struct Case {
        const char* What;
        bool InFolder;
        std::wstring Name;
        bool Done;
        DWORD Error;
    } cases[] = {
        {"bare name, taken", true, L"taken.bin", false, ERROR_ALREADY_EXISTS},
        {"full path, taken", false, folderPath + L"\\taken.bin", false, ERROR_ALREADY_EXISTS},
        {"bare name with a folder part", true, L"..\\b.bin", false, ERROR_INVALID_PARAMETER},
        {"full path not in extended form", false, Dir + L"sub\\b.bin", false, ERROR_INVALID_PARAMETER},
        {"bare name", true, L"b.bin", true, 0},
        {"full path", false, folderPath + L"\\c.bin", true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        SetLastError(0);
        EXPECT_EQ(File_RenameByHandle(h.get(), c.InFolder ? folder.get() : nullptr, c.Name), c.Done);
        if (!c.Done) EXPECT_EQ(GetLastError(), c.Error);
    }
    h.reset();
    EXPECT_EQ(ReadAll(Dir + L"sub\\taken.bin"), std::vector<uint8_t>(10, 0x22));
    EXPECT_EQ(ReadAll(Dir + L"sub\\c.bin"), std::vector<uint8_t>(10, 0x11));
    EXPECT_FALSE(IsThere(file));
    EXPECT_FALSE(IsThere(Dir + L"sub\\b.bin"));
    EXPECT_FALSE(IsThere(Dir + L"b.bin"));
}

}  // namespace
