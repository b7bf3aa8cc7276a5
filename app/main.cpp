// Entry of the windowed program. The start-up sequence grows here; for now it computes the
// shared start values and says that the windows are still to come.
#include "settings/system.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    Init_SharedValues();
    MessageBoxW(nullptr, L"The windows of this program are not built yet.", L"Corvane Blanko",
                MB_OK | MB_ICONINFORMATION);
    return 0;
}
