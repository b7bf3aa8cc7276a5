// Entry of the windowed program.
#include "app/startup.h"

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    std::vector<std::wstring> arguments;
    int argc = 0;
    if (LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc)) {
        for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
        LocalFree(argv);
    }
    Blanko_Start(arguments);
    return 0;  // every way out of the program ends with 0
}
