// The application object: one per program, owns the message loop.
#pragma once

#include <string>

namespace ui {

class TApplication {
public:
    // Caption of every message box of the program.
    std::wstring Title = L"Corvane Blanko";

    // Handles every message waiting in this thread's queue, then returns. Long operations on the
    // GUI thread call it between steps so that buttons, timers and painting keep working. Safe
    // to call from inside any message handler. A quit message sets Terminated and is not handled
    // further.
    void ProcessMessages();

    // Asks the message loop to end.
    void Terminate();
    bool Terminated() const { return FTerminated; }

private:
    bool FTerminated = false;
};

extern TApplication Application;

}  // namespace ui
