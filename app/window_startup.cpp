#include "app/window_startup.h"

void WindowStartup_Run(const std::vector<std::wstring>&) {
    // The windows are not built yet: a normal start ends here.
}
