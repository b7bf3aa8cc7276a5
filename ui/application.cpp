#include "ui/application.h"

#include <windows.h>

namespace ui {

TApplication Application;

void TApplication::ProcessMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            FTerminated = true;
            // Leave the quit message for the outer loop that owns the program's lifetime.
            PostQuitMessage(int(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void TApplication::Terminate() {
    FTerminated = true;
    PostQuitMessage(0);
}

}  // namespace ui
