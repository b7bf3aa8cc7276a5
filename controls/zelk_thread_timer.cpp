#include "controls/zelk_thread_timer.h"

#include <mmsystem.h>

namespace {
constexpr long MinDelay = 10;  // a zero or tiny interval must not spin
}

TZelkTimerThread::TZelkTimerThread(std::shared_ptr<TZelkTimerState> State)
    : ui::TThread(true), tt(std::move(State)) {}

void TZelkTimerThread::Execute() {
    while (!tt->bStop) {
        DWORD t0 = timeGetTime();
        if (tt->FEnabled) {
            auto state = tt;
            Synchronize([state] { DoTimer(state); });
        }
        long elapsed = long(timeGetTime() - t0);
        long delay = long(tt->FInterval) - elapsed;
        if (delay < MinDelay) delay = MinDelay;
        if (tt->bStop) break;
        if (tt->Wake)
            WaitForSingleObject(tt->Wake.get(), DWORD(delay));
        else
            Sleep(DWORD(delay));
    }
}

void TZelkTimerThread::DoTimer(const std::shared_ptr<TZelkTimerState>& State) {
    // bStop is set on this same thread before the component goes, so while it is clear the
    // component exists. A timer disabled after the worker queued this tick stays silent too.
    if (State->bStop || !State->FEnabled) return;
    TZelkThreadTimer* timer = State->Timer;
    if (!timer->OnTimer) return;
    // A copy: the handler may free the timer (and with it OnTimer) while it runs.
    auto handler = timer->OnTimer;
    handler(timer);
}

TZelkThreadTimer::TZelkThreadTimer(ui::TComponent* AOwner) : ui::TComponent(AOwner) {
    FState = std::make_shared<TZelkTimerState>();
    FState->Timer = this;
    FState->Wake.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    FThread = new TZelkTimerThread(FState);
    if (!FThread->Handle()) {
        // No thread could be made: the timer stays silent rather than failing the form.
        delete FThread;
        FThread = nullptr;
        return;
    }
    HANDLE dup = nullptr;
    DuplicateHandle(GetCurrentProcess(), FThread->Handle(), GetCurrentProcess(), &dup, 0, FALSE, DUPLICATE_SAME_ACCESS);
    FState->Worker.reset(dup);
    FThread->SetPriority(FPriority);
    FThread->FreeOnTerminate = true;
    FThread->Start();
}

TZelkThreadTimer::~TZelkThreadTimer() {
    // The worker ends on its own and frees itself; it may be waiting for the GUI thread right
    // now, so we do not wait for it here. From this moment no tick reaches OnTimer.
    FState->bStop = true;
    FState->Timer = nullptr;
    if (FState->Wake) SetEvent(FState->Wake.get());
    FThread = nullptr;
}

void TZelkThreadTimer::SetThreadPriority(ui::TThreadPriority Value) {
    FPriority = Value;
    if (FState->Worker) ::SetThreadPriority(FState->Worker.get(), ui::ThreadPriority_ToWindows(Value));
}
