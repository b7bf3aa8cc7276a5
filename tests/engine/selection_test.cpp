// Rows whose paths are odd in form: what a run touches must be exactly what the row names, and a
// path that names nothing definite (relative to whatever the current folder happens to be) is
// refused without touching anything.
#include "engine_fixture.h"

#include <functional>

namespace {

using namespace enginetest;

class SelectionTest : public EngineTest {
protected:
    void TearDown() override {
        SetCurrentDirectoryW(Saved.c_str());
        EngineTest::TearDown();
    }
    void SetUp() override {
        wchar_t cwd[MAX_PATH];
        GetCurrentDirectoryW(MAX_PATH, cwd);
        Saved = cwd;
        EngineTest::SetUp();
    }
    std::wstring Saved;
};

// A file whose exact name ends in a space or a dot: only the extended form reaches it.
std::wstring MakeExact(const std::wstring& Path, uint8_t Fill) {
    const std::wstring ext = L"\\\\?\\" + Path;
    HANDLE h = CreateFileW(ext.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    EXPECT_NE(h, INVALID_HANDLE_VALUE) << "cannot create the exact name";
    std::vector<uint8_t> data(3000, Fill);
    DWORD w = 0;
    WriteFile(h, data.data(), DWORD(data.size()), &w, nullptr);
    CloseHandle(h);
    return Path;
}

bool ExactExists(const std::wstring& Path) {
    return GetFileAttributesW((L"\\\\?\\" + Path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST_F(SelectionTest, RowTouchesExactlyWhatItNames) {
    struct Case {
        const char* What;
        // Makes the files, adds the row; returns the names that must stay untouched (0x5A
        // content, attributes as made) and the names that must be gone.
        std::function<void(SelectionTest&, std::vector<std::wstring>& Keep, std::vector<std::wstring>& Gone)> Fill;
        uint32_t Errors, FilesDeleted, RowsLeft;
    } cases[] = {
        {"relative file path: the current folder's file of that name is not the selection",
         [](SelectionTest& t, auto& keep, auto&) {
             t.MakeFolder(L"cwd");
             keep.push_back(t.Make(L"cwd\\victim.bin", 3000));
             SetCurrentDirectoryW((t.Dir + L"cwd").c_str());
             t.Engine->Add_File(L"victim.bin");
         },
         1, 0, 1},
        {"relative folder path",
         [](SelectionTest& t, auto& keep, auto&) {
             t.MakeFolder(L"cwd");
             t.MakeFolder(L"cwd\\victimdir");
             keep.push_back(t.Make(L"cwd\\victimdir\\v.bin", 3000));
             SetCurrentDirectoryW((t.Dir + L"cwd").c_str());
             t.Engine->Add_Folder(L"victimdir");
         },
         1, 0, 1},
        {"drive-relative file path",
         [](SelectionTest& t, auto& keep, auto&) {
             t.MakeFolder(L"cwd");
             keep.push_back(t.Make(L"cwd\\victim.bin", 3000));
             SetCurrentDirectoryW((t.Dir + L"cwd").c_str());
             t.Engine->Add_File(t.Dir.substr(0, 2) + L"victim.bin");
         },
         1, 0, 1},
        {"file name ending in a space: the name without it belongs to another file",
         [](SelectionTest& t, auto& keep, auto& gone) {
             keep.push_back(t.Make(L"secret", 3000));
             gone.push_back(MakeExact(t.Dir + L"secret ", 0x11));
             t.Engine->Add_File(t.Dir + L"secret ");
         },
         0, 1, 0},
        {"file name ending in a dot",
         [](SelectionTest& t, auto& keep, auto& gone) {
             keep.push_back(t.Make(L"report", 3000));
             gone.push_back(MakeExact(t.Dir + L"report.", 0x11));
             t.Engine->Add_File(t.Dir + L"report.");
         },
         0, 1, 0},
        {"folder name ending in a dot",
         [](SelectionTest& t, auto& keep, auto& gone) {
             t.MakeFolder(L"data");
             keep.push_back(t.Make(L"data\\inside.bin", 3000));
             CreateDirectoryW((L"\\\\?\\" + t.Dir + L"data.").c_str(), nullptr);
             gone.push_back(MakeExact(t.Dir + L"data.\\other.bin", 0x11));
             gone.push_back(t.Dir + L"data.");
             t.Engine->Add_Folder(t.Dir + L"data.");
         },
         0, 1, 0},
        {"a path with . and .. parts names the file it leads to",
         [](SelectionTest& t, auto&, auto& gone) {
             t.MakeFolder(L"sub");
             gone.push_back(t.Make(L"plain.bin", 3000));
             t.Engine->Add_File(t.Dir + L"sub\\.\\..\\plain.bin");
         },
         0, 1, 0},
        {"a folder given as a file row keeps its attributes and contents",
         [](SelectionTest& t, auto& keep, auto&) {
             t.MakeFolder(L"afolder");
             keep.push_back(t.Make(L"afolder\\inside.bin", 3000));
             keep.push_back(t.Dir + L"afolder");
             SetFileAttributesW((t.Dir + L"afolder").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
             t.Engine->Add_File(t.Dir + L"afolder");
         },
         1, 0, 1},
        {"a file given as a folder row is not reported done",
         [](SelectionTest& t, auto& keep, auto&) {
             keep.push_back(t.Make(L"afile.bin", 3000));
             t.Engine->Add_Folder(t.Dir + L"afile.bin");
         },
         1, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        Tree->Clear();
        CleanFolder();
        ASSERT_TRUE(CreateDirectoryW(Root.c_str(), nullptr));
        std::vector<std::wstring> keep, gone;
        c.Fill(*this, keep, gone);
        std::vector<DWORD> attributes;
        for (const auto& k : keep) attributes.push_back(GetFileAttributesW((L"\\\\?\\" + k).c_str()));

        Run(1);
        SetCurrentDirectoryW(Saved.c_str());

        EXPECT_EQ(Errors, c.Errors);
        EXPECT_EQ(FilesDeleted, c.FilesDeleted);
        EXPECT_EQ(Tree->RootNodeCount(), c.RowsLeft);
        for (size_t i = 0; i < keep.size(); ++i) {
            std::string what(keep[i].begin(), keep[i].end());
            EXPECT_EQ(GetFileAttributesW((L"\\\\?\\" + keep[i]).c_str()), attributes[i]) << what;
            if (!(attributes[i] & FILE_ATTRIBUTE_DIRECTORY))
                EXPECT_EQ(ReadAll(keep[i]), std::vector<uint8_t>(3000, 0x5A)) << what;
        }
        for (const auto& g : gone) EXPECT_FALSE(ExactExists(g)) << std::string(g.begin(), g.end());
        for (const auto& k : keep) SetFileAttributesW((L"\\\\?\\" + k).c_str(), 0);
    }
}

}  // namespace
