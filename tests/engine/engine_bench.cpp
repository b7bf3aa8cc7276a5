// Times the engine on real files for tools/bench (not a test: it prints figures).
//   engine_bench file <method> <path>    wipes one file
//   engine_bench folder <method> <path>  wipes a folder tree as a list row (count, run, clean-up)
// Prints "seconds <s>" for the whole wipe, for a single file also "pass_seconds <s>" (from the
// start until the last pass was on the disk, before the rename and the delete), and
// "files <destroyed> errors <errors> peak_working_set <bytes>".
#include "engine/blanko.h"
#include "settings/system.h"

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        fwprintf(stderr, L"usage: engine_bench file|folder <method> <path>\n");
        return 2;
    }
    Init_SharedValues();
    const bool folder = wcscmp(argv[1], L"folder") == 0;
    ui::TVirtualDrawTree tree;
    TBlanko engine(&tree);
    engine.USE_WIPE_METHOD = _wtoi(argv[2]);
    ui::TProgressBar bar;
    uint32_t errors = 0, deleted = 0;

    LARGE_INTEGER freq, start, end;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&start);
    LARGE_INTEGER lastPass = start;
    engine.OnPassWritten = [&](const std::wstring&, HANDLE, int) { QueryPerformanceCounter(&lastPass); };
    if (folder) {
        engine.Add_Folder(argv[3]);
        uint32_t files, blocks;
        int64_t size;
        engine.Prepare_CountFiles_and_TotalSize(files, size, blocks);
        bar.SetMax(int(blocks));
        engine.Wipe(&bar, errors, deleted);
    } else {
        deleted = engine.Wipe_File(argv[3], &bar, errors) ? 1 : 0;
    }
    QueryPerformanceCounter(&end);

    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    printf("seconds %.6f\n", double(end.QuadPart - start.QuadPart) / double(freq.QuadPart));
    if (!folder) printf("pass_seconds %.6f\n", double(lastPass.QuadPart - start.QuadPart) / double(freq.QuadPart));
    printf("files %u errors %u peak_working_set %llu\n", deleted, errors,
           static_cast<unsigned long long>(pmc.PeakWorkingSetSize));
    return errors == 0 ? 0 : 1;
}
