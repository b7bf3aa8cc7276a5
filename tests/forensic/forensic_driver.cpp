// Runs the wipe engine from the command line for tools/forensic, which checks raw disk images
// afterwards:
//   forensic_driver wipe <method> <path>...     files and folders, as rows of one run
//   forensic_driver freespace <method> <X:>     the free space of one drive
// Exit code 0 when the run counted no error and left no row behind, 1 otherwise, 2 on bad usage.
#include "engine/blanko.h"
#include "settings/system.h"
#include "ui/virtual_tree.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

int wmain(int argc, wchar_t** argv) {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    if (argc < 4) {
        fwprintf(stderr, L"usage: forensic_driver wipe|freespace <method> <path|drive>...\n");
        return 2;
    }
    Init_SharedValues();
    const std::wstring mode = argv[1];
    const int method = _wtoi(argv[2]);
    if (method < 0 || method > 3) return 2;

    ui::TVirtualDrawTree tree;
    TBlanko engine(&tree);
    engine.USE_WIPE_METHOD = method;
    if (mode == L"wipe") {
        for (int i = 3; i < argc; ++i) {
            DWORD a = GetFileAttributesW(argv[i]);
            if (a == INVALID_FILE_ATTRIBUTES) {
                fwprintf(stderr, L"not found: %ls\n", argv[i]);
                return 2;
            }
            if (a & FILE_ATTRIBUTE_DIRECTORY) engine.Add_Folder(argv[i]);
            else engine.Add_File(argv[i]);
        }
    } else if (mode == L"freespace") {
        // Only ever the small image drive of the check: never fill anything larger.
        int64_t free = 0, total = 0;
        if (!Disk_GetFreeSpace(argv[3][0], free, total) || total > 64LL * 1024 * 1024) {
            fwprintf(stderr, L"refusing the free-space wipe of %lc: (%lld bytes)\n", argv[3][0], (long long)total);
            return 2;
        }
        engine.Add_FreeDiskSpace(argv[3][0], L"free space");
    } else {
        return 2;
    }

    uint32_t errors = 0, deleted = 0;
    FLAG_STOP = false;
    engine.Wipe(nullptr, errors, deleted);
    const unsigned left = tree.RootNodeCount();
    printf("destroyed %u, errors %u, rows left %u\n", deleted, errors, left);
    return (errors == 0 && left == 0) ? 0 : 1;
}
