// A timer driven by a worker thread: the worker wakes every Interval milliseconds (at least
// every 10 ms) and hands the tick to the GUI thread, waiting until the handler has run there.
// Ticks therefore arrive only while the GUI thread processes messages, and never pile up: a slow
// handler stretches the period to its own duration plus 10 ms.
#pragma once

#include "common/handles.h"
#include "ui/component.h"
#include "ui/gfx/thread.h"

#include <atomic>
#include <functional>
#include <memory>

class TZelkThreadTimer;

// What the worker reads. Shared between the component and its worker, so it stays valid until the
// worker has ended, also when the component is already gone.
struct TZelkTimerState {
    std::atomic<bool> bStop{false};
    std::atomic<bool> FEnabled{false};
    std::atomic<int> FInterval{0};
    // The component; touched only on the GUI thread and only while bStop is not set (the
    // component sets bStop, on the GUI thread, before it goes).
    TZelkThreadTimer* Timer = nullptr;
    // Set on stop, so the worker leaves its sleep at once.
    handles::UniqueHandle Wake;
    // The worker's thread handle, ours to keep (the worker closes its own when it ends).
    handles::UniqueHandle Worker;
};

class TZelkTimerThread : public ui::TThread {
public:
    explicit TZelkTimerThread(std::shared_ptr<TZelkTimerState> State);

protected:
    void Execute() override;

private:
    // On the GUI thread: the tick, unless the timer has been disabled or destroyed meanwhile.
    static void DoTimer(const std::shared_ptr<TZelkTimerState>& State);

    std::shared_ptr<TZelkTimerState> tt;  // the part of the timer this worker serves
};

class TZelkThreadTimer : public ui::TComponent {
public:
    explicit TZelkThreadTimer(ui::TComponent* AOwner = nullptr);
    ~TZelkThreadTimer() override;
    std::wstring ClassName() const override { return L"TZelkThreadTimer"; }

    bool Enabled() const { return FState->FEnabled; }
    void SetEnabled(bool Value) { FState->FEnabled = Value; }
    int Interval() const { return FState->FInterval; }
    void SetInterval(int Value) { FState->FInterval = Value; }
    ui::TThreadPriority ThreadPriority() const { return FPriority; }
    // Applies to the running worker at once.
    void SetThreadPriority(ui::TThreadPriority Value);

    // Called on the GUI thread with the timer as Sender.
    std::function<void(ui::TComponent* Sender)> OnTimer;

    // The worker's thread handle (valid as long as the component), for diagnostics.
    HANDLE WorkerHandle() const { return FState->Worker.get(); }

private:
    std::shared_ptr<TZelkTimerState> FState;  // bStop, FEnabled, FInterval
    TZelkTimerThread* FThread = nullptr;      // frees itself when it ends
    ui::TThreadPriority FPriority = ui::TThreadPriority::tpNormal;
};
