// Shared entry of every test program: the shared start values first, as both programs do.
#include "settings/system.h"

#include <gtest/gtest.h>
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    // No "program error" boxes from the system while a test runs.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    Init_SharedValues();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
