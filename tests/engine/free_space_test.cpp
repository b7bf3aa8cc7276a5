// Free-space wipes, only ever on a small file system of the test's own mapped to T:.
#include "engine_fixture.h"

#include <algorithm>
#include <map>

namespace {

using namespace enginetest;

constexpr int64_t kMaxTestDrive = 64LL * 1024 * 1024;

class FreeSpaceTest : public EngineTest {
protected:
    // Mounts a tmpfs of SizeKiB (options added) under the test folder and maps it to T:.
    void MountDrive(int SizeKiB, const std::string& Options = "") {
        MakeFolder(L"t");
        std::string mount = Quote(UnixPath(Dir + L"t"));
        if (RunLinux("mount -t tmpfs -o size=" + std::to_string(SizeKiB) + "k" + Options + " tmpfs " + mount) != 0)
            GTEST_SKIP() << "cannot mount a small file system";
        ASSERT_TRUE(MapDrive(L'T', L"t"));
        int64_t free = 0, total = 0;
        ASSERT_TRUE(Disk_GetFreeSpace(L'T', free, total));
        // Never anything but the test's own small drive.
        ASSERT_LE(total, kMaxTestDrive) << "refusing to fill a drive larger than 64 MiB";
        ASSERT_EQ(RunLinux("mountpoint -q " + mount + " && [ \"$(readlink -f " + DriveLink(L'T') +
                           ")\" = \"$(readlink -f " + mount + ")\" ]"),
                  0)
            << "T: is not the test's own drive";
    }
    // MountDrive's skips and failed assertions end only MountDrive itself: the test goes on only
    // when the drive is there and is the test's own.
    bool Mounted(int SizeKiB, const std::string& Options = "") {
        MountDrive(SizeKiB, Options);
        return !HasFatalFailure() && !IsSkipped();
    }
    void Watch() {
        Engine->OnTrace = [this](const std::wstring& line) {
            Traces.push_back(line);
            if (OnLine) OnLine(line);
        };
        Engine->OnDeleteDummyCrappyFiles = [this](TBlanko* sender, int count) {
            EXPECT_EQ(sender, Engine.get());
            Events.push_back("delete " + std::to_string(count));
            // The dummy files as they are just before they go.
            std::vector<TDirEntry> entries;
            Folder_List(L"T:\\", L"*", entries);
            for (const auto& e : entries) SizesBeforeDeletion[e.Name] = e.Size;
            FLAG_STOP = StopDuringDeletion;  // cannot stop the deletion
        };
        Engine->OnDeleteDummyCrappyFilesDone = [this](TBlanko*, int count) {
            Events.push_back("done " + std::to_string(count));
        };
        Engine->OnPassWritten = [this](const std::wstring& name, HANDLE open, int pass) {
            auto data = open ? ReadThrough(open) : ReadAll(name);
            uint8_t want = pass == 1 ? 0xFF : 0x00;
            bool all = !data.empty() && std::all_of(data.begin(), data.end(), [&](uint8_t b) { return b == want; });
            Passes.push_back(name.substr(name.find_last_of(L'\\') + 1) + L":" + std::to_wstring(pass) +
                             (all ? L"" : L" wrong content"));
        };
    }
    std::vector<std::wstring> Lines(const std::wstring& prefix) const {
        std::vector<std::wstring> r;
        for (const auto& l : Traces)
            if (l.rfind(prefix, 0) == 0) r.push_back(l);
        return r;
    }
    std::vector<std::wstring> DummiesLeft() {
        std::vector<TDirEntry> entries;
        Folder_List(L"T:\\", L"*", entries);
        std::vector<std::wstring> r;
        for (const auto& e : entries)
            if (e.Name.rfind(L"crappydata_", 0) == 0) r.push_back(e.Name);
        return r;
    }
    void FillDrive() {
        int64_t free = 0, total = 0;
        Disk_GetFreeSpace(L'T', free, total);
        if (free > 0) {
            EXPECT_EQ(RunLinux("fallocate -l " + std::to_string(free) + " " + Quote(UnixPath(Dir + L"t\\fill"))), 0);
        }
    }

    std::vector<std::wstring> Traces;
    std::function<void(const std::wstring&)> OnLine;
    std::vector<std::string> Events;
    std::map<std::wstring, int64_t> SizesBeforeDeletion;
    std::vector<std::wstring> Passes;
    bool StopDuringDeletion = false;
};

TEST_F(FreeSpaceTest, FiveMiBWithEachMethod) {
    struct Case {
        int Method;
        int Steps;  // one per kept dummy file, one per further pass and block
        std::vector<std::wstring> Passes;
    } cases[] = {
        {1, 3, {}},
        {0, 9, {L"crappydata_0.dat:1", L"crappydata_0.dat:2", L"crappydata_1.dat:1", L"crappydata_1.dat:2",
                L"crappydata_2.dat:1", L"crappydata_2.dat:2"}},
    };
    if (!Mounted(5120)) return;
    for (const auto& c : cases) {
        SCOPED_TRACE("method " + std::to_string(c.Method));
        Traces.clear();
        Events.clear();
        Passes.clear();
        SizesBeforeDeletion.clear();
        Watch();
        StopDuringDeletion = true;
        Engine->Add_FreeDiskSpace(L'T', L"Freier Speicher T:\\");
        Engine->USE_WIPE_METHOD = c.Method;
        uint32_t files, blocks;
        int64_t size;
        Engine->Prepare_CountFiles_and_TotalSize(files, size, blocks);
        EXPECT_EQ(files, 1u);
        EXPECT_EQ(size, 5242880);
        EXPECT_EQ(blocks, 3u * WipeMethod_PassCount(c.Method));

        TCountingBar bar;
        bar.SetMax(int(blocks));
        bar.SetMax(1 << 30);
        int64_t filesBefore = Counter(STATS_FILES_WIPED);
        Run(c.Method, &bar);
        FLAG_STOP = false;

        EXPECT_EQ(Errors, 0u);
        EXPECT_EQ(FilesDeleted, 0u);
        EXPECT_EQ(Tree->RootNodeCount(), 0u);
        EXPECT_EQ(Counter(STATS_FILES_WIPED), filesBefore + 3);
        EXPECT_EQ(bar.Steps, c.Steps);
        EXPECT_EQ(bar.Max(), 1 << 30);  // the deletion phase put the range back
        EXPECT_EQ(Passes, c.Passes);
        EXPECT_EQ(Events, (std::vector<std::string>{"delete 3", "done 0"}));
        EXPECT_EQ(SizesBeforeDeletion, (std::map<std::wstring, int64_t>{{L"crappydata_0.dat", 2097152},
                                                                       {L"crappydata_1.dat", 2097152},
                                                                       {L"crappydata_2.dat", 1048576}}));
        EXPECT_TRUE(DummiesLeft().empty());
        EXPECT_FALSE(Engine->FSpecialMode_SkipFirstNullStep);
        std::vector<std::wstring> expected = {
            L"FreeSize total is 5242880",
            L"Wipe and create file T:\\crappydata_0.dat",
            L"File created and 2097152 Bytes \"nulled\" T:\\crappydata_0.dat",
            L"filesize = 2097152",
            L"Wipe and create file T:\\crappydata_1.dat",
            L"File created and 2097152 Bytes \"nulled\" T:\\crappydata_1.dat",
            L"filesize = 2097152",
            L"Wipe and create file T:\\crappydata_2.dat",
            L"File created and 1048576 Bytes \"nulled\" T:\\crappydata_2.dat",
            L"filesize = 1048576",
            L"All dummy-files created and \"nulled\"",
        };
        EXPECT_EQ(Traces, expected);
    }
}

TEST_F(FreeSpaceTest, DriveThatRefusesNewFiles) {
    if (!Mounted(1024, ",ro")) return;
    Watch();
    Engine->Add_FreeDiskSpace(L'T', L"T:\\");
    Run(0);
    EXPECT_EQ(Errors, 0u);
    auto rows = Rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_FALSE(rows[0].Done);
    EXPECT_TRUE(Events.empty());
    EXPECT_FALSE(Lines(L"***Error creating file T:\\crappydata_0.dat").empty());
    EXPECT_TRUE(Lines(L"filesize = ").empty());
    EXPECT_EQ(Traces.back(), L"All dummy-files created and \"nulled\"");
    EXPECT_FALSE(Engine->FSpecialMode_SkipFirstNullStep);
}

TEST_F(FreeSpaceTest, StopWhileDummyFilesAreMade) {
    if (!Mounted(5120)) return;
    Watch();
    OnLine = [this](const std::wstring& line) {
        if (Lines(L"filesize = ").size() == 2) FLAG_STOP = true;
    };
    Engine->Add_FreeDiskSpace(L'T', L"T:\\");
    Run(0);
    EXPECT_EQ(Errors, 0u);
    EXPECT_TRUE(Lines(L"Wipe and create file T:\\crappydata_2.dat").empty());
    EXPECT_TRUE(Passes.empty());  // no further pass after the stop
    EXPECT_EQ(Events, (std::vector<std::string>{"delete 2", "done 0"}));
    EXPECT_TRUE(DummiesLeft().empty());
    auto rows = Rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_FALSE(rows[0].Done);
}

TEST_F(FreeSpaceTest, DriveFullBeforeTheFirstDummyLeavesNoEmptyFile) {
    if (!Mounted(5120)) return;
    Watch();
    // Another program takes all the space between the measuring and the first dummy file.
    OnLine = [this](const std::wstring& line) {
        if (line == L"Wipe and create file T:\\crappydata_0.dat") FillDrive();
    };
    Engine->Add_FreeDiskSpace(L'T', L"T:\\");
    Run(1);
    EXPECT_EQ(Errors, 0u);
    EXPECT_TRUE(Lines(L"filesize = ").empty());
    EXPECT_TRUE(Events.empty());
    EXPECT_TRUE(DummiesLeft().empty());
    EXPECT_EQ(Tree->RootNodeCount(), 1u);
}

TEST_F(FreeSpaceTest, DriveFillingUpGivesUpTheOldestDummy) {
    if (!Mounted(5120)) return;
    Watch();
    OnLine = [this](const std::wstring& line) {
        if (line == L"Wipe and create file T:\\crappydata_1.dat") FillDrive();
    };
    Engine->Add_FreeDiskSpace(L'T', L"T:\\");
    int64_t filesBefore = Counter(STATS_FILES_WIPED);
    Run(1);
    EXPECT_EQ(Errors, 0u);
    EXPECT_EQ(Lines(L"Wipe file "), (std::vector<std::wstring>{L"Wipe file T:\\crappydata_0.dat",
                                                                L"Wipe file T:\\crappydata_1.dat"}));
    EXPECT_EQ(Lines(L"filesize = "), (std::vector<std::wstring>{L"filesize = 2097152", L"filesize = 2097152",
                                                                 L"filesize = 1048576"}));
    EXPECT_EQ(Events, (std::vector<std::string>{"delete 1", "done 0"}));
    EXPECT_TRUE(DummiesLeft().empty());
    EXPECT_EQ(Tree->RootNodeCount(), 0u);
    EXPECT_EQ(Counter(STATS_FILES_WIPED), filesBefore + 3);
}

TEST_F(FreeSpaceTest, GivenUpDummyThatCannotBeDeletedAtOnceGoesWithTheOthers) {
    // The drive fills up behind the first dummy file; when that one is given up to make room,
    // another program (a scanner) still holds it, so it cannot be deleted right then.
    if (!Mounted(5120)) return;
    Watch();
    OnLine = [this](const std::wstring& line) {
        if (line == L"Wipe and create file T:\\crappydata_1.dat") FillDrive();
    };
    HANDLE scanner = INVALID_HANDLE_VALUE;
    Engine->OnPassWritten = [&](const std::wstring& name, HANDLE, int pass) {
        if (scanner == INVALID_HANDLE_VALUE && pass == 2 && name.find(L"crappydata_0.dat") != std::wstring::npos)
            scanner = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
    };
    Engine->OnDeleteDummyCrappyFiles = [&](TBlanko*, int count) {
        Events.push_back("delete " + std::to_string(count));
        if (scanner != INVALID_HANDLE_VALUE) CloseHandle(scanner);
        scanner = nullptr;
    };
    Engine->Add_FreeDiskSpace(L'T', L"T:\\");
    Run(0);
    if (scanner != nullptr && scanner != INVALID_HANDLE_VALUE) CloseHandle(scanner);
    ASSERT_FALSE(scanner == INVALID_HANDLE_VALUE) << "the scanner never got hold of the dummy file";
    EXPECT_EQ(Errors, 0u);
    EXPECT_FALSE(Lines(L"Wipe file T:\\crappydata_0.dat").empty());
    EXPECT_EQ(Events, (std::vector<std::string>{"delete 1", "done 0"}));
    EXPECT_TRUE(DummiesLeft().empty());
    EXPECT_EQ(Tree->RootNodeCount(), 1u);  // the free space behind the held file was not wiped
}

TEST_F(FreeSpaceTest, DummyNameThatCannotBeCreatedIsNotReportedDone) {
    // The second dummy name is taken by a folder: no dummy file can be made under it. The drive's
    // free space is then not wiped, and the row must not say it is.
    if (!Mounted(5120)) return;
    ASSERT_TRUE(CreateDirectoryW(L"T:\\crappydata_1.dat", nullptr));
    Watch();
    Engine->Add_FreeDiskSpace(L'T', L"T:\\");
    Run(1);
    EXPECT_EQ(Errors, 0u);
    auto rows = Rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_FALSE(rows[0].Done);
    EXPECT_FALSE(Lines(L"***Error creating file T:\\crappydata_1.dat").empty());
    EXPECT_EQ(DummiesLeft(), std::vector<std::wstring>{L"crappydata_1.dat"});  // the folder only
    EXPECT_LT(Traces.size(), 100u);  // no thousands of attempts on the same name
    RemoveDirectoryW(L"T:\\crappydata_1.dat");
}

TEST_F(FreeSpaceTest, FileRowAfterFreeSpaceRowIsWipedNormally) {
    if (!Mounted(2048)) return;
    WriteAll(L"T:\\crappydata_0.dat", std::vector<uint8_t>(10, 0x33));  // from an earlier run
    std::wstring file = Make(L"after.bin", 5000);
    Engine->Add_FreeDiskSpace(L'T', L"T:\\");
    Engine->Add_File(file);
    Watch();
    Run(0);
    EXPECT_EQ(Errors, 0u);
    EXPECT_EQ(FilesDeleted, 1u);
    EXPECT_EQ(Tree->RootNodeCount(), 0u);
    EXPECT_FALSE(IsThere(file));
    EXPECT_TRUE(DummiesLeft().empty());
    std::vector<TDirEntry> left;
    Folder_List(Dir, L"*", left);
    for (const auto& e : left) EXPECT_EQ(e.Name, L"t");  // no random name left beside the test drive
}

}  // namespace

namespace {

// The trace lines go to the system's debugger output channel: run one free-space test in a child
// process of this program under a small debugger and collect what it prints there.
TEST(FreeSpaceTraceChannel, LinesReachTheDebugger) {
    if (GetEnvironmentVariableW(L"BLANKO_TRACE_CHILD", nullptr, 0)) GTEST_SKIP() << "this is the child";
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring cmd = L"\"" + std::wstring(self) + L"\" --gtest_filter=FreeSpaceTest.FileRowAfterFreeSpaceRowIsWipedNormally";
    SetEnvironmentVariableW(L"BLANKO_TRACE_CHILD", L"1");
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    BOOL started = CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, DEBUG_ONLY_THIS_PROCESS, nullptr,
                                  nullptr, &si, &pi);
    SetEnvironmentVariableW(L"BLANKO_TRACE_CHILD", nullptr);
    ASSERT_TRUE(started);

    std::vector<std::string> lines;
    DWORD exitCode = 1;
    for (;;) {
        DEBUG_EVENT ev{};
        if (!WaitForDebugEvent(&ev, 120000)) break;
        DWORD status = DBG_CONTINUE;
        if (ev.dwDebugEventCode == OUTPUT_DEBUG_STRING_EVENT) {
            const auto& info = ev.u.DebugString;
            size_t bytes = size_t(info.nDebugStringLength) * (info.fUnicode ? 2 : 1);
            std::vector<char> buf(bytes + 2, 0);
            SIZE_T got = 0;
            ReadProcessMemory(pi.hProcess, info.lpDebugStringData, buf.data(), bytes, &got);
            if (info.fUnicode) {
                std::wstring w(reinterpret_cast<const wchar_t*>(buf.data()));
                lines.push_back(std::string(w.begin(), w.end()));
            } else {
                lines.push_back(buf.data());
            }
        } else if (ev.dwDebugEventCode == EXCEPTION_DEBUG_EVENT &&
                   ev.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT) {
            status = DBG_EXCEPTION_NOT_HANDLED;
        } else if (ev.dwDebugEventCode == CREATE_PROCESS_DEBUG_EVENT) {
            CloseHandle(ev.u.CreateProcessInfo.hFile);
        } else if (ev.dwDebugEventCode == LOAD_DLL_DEBUG_EVENT) {
            CloseHandle(ev.u.LoadDll.hFile);
        } else if (ev.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT) {
            exitCode = ev.u.ExitProcess.dwExitCode;
            ContinueDebugEvent(ev.dwProcessId, ev.dwThreadId, DBG_CONTINUE);
            break;
        }
        ContinueDebugEvent(ev.dwProcessId, ev.dwThreadId, status);
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    EXPECT_EQ(exitCode, 0u);
    auto has = [&](const std::string& prefix) {
        for (const auto& l : lines)
            if (l.rfind(prefix, 0) == 0) return true;
        return false;
    };
    EXPECT_TRUE(has("FreeSize total is ")) << lines.size() << " lines";
    EXPECT_TRUE(has("Wipe and create file T:\\crappydata_0.dat"));
    EXPECT_TRUE(has("File created and "));
    EXPECT_TRUE(has("filesize = "));
    EXPECT_TRUE(has("All dummy-files created and \"nulled\""));
}

}  // namespace
