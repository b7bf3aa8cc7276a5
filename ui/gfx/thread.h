// Worker threads that hand work to the GUI thread. Synchronize(fn) queues fn for the GUI thread
// and waits until it has run there. The GUI thread serves the queue through a hidden
// message-only window whenever it processes messages (message loop, ProcessMessages, modal
// loops), and also while it waits for a worker to end, so waiting for a worker that is itself
// waiting in Synchronize cannot deadlock.
#pragma once

#include <windows.h>

#include <atomic>
#include <exception>
#include <functional>

namespace ui {

enum class TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };
int ThreadPriority_ToWindows(TThreadPriority Priority);

// Makes the calling thread the GUI thread that serves Synchronize calls. Call it on the GUI
// thread at start; the first TThread created does it otherwise (from the thread creating it,
// which must then be the GUI thread). Later calls do nothing. False when the window cannot be
// made.
bool Thread_InitSynchronize();
// Runs every queued Synchronize call now; only on the GUI thread (elsewhere it does nothing).
// True when at least one ran.
bool Thread_CheckSynchronize();
// The GUI thread's id, 0 before Thread_InitSynchronize.
DWORD Thread_MainThreadId();
// Runs Fn on the GUI thread and waits for it: directly when called there, else through the
// queue. An exception thrown by Fn is rethrown to the caller.
void Thread_Synchronize(const std::function<void()>& Fn);

class TThread {
public:
    // The thread exists at once; it runs Execute after Start (or at once when not suspended).
    explicit TThread(bool CreateSuspended = true);
    // Not called from the thread itself: asks the thread to end (Terminate) and waits for it.
    virtual ~TThread();
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    void Start();
    // Sets Terminated; Execute is expected to check it and return.
    void Terminate() { FTerminated = true; }
    bool Terminated() const { return FTerminated; }
    bool Finished() const { return FFinished; }
    // Waits until the thread has ended and returns its ReturnValue. On the GUI thread it serves
    // Synchronize calls (and messages sent to its windows) meanwhile. Not for FreeOnTerminate
    // threads, which may be gone when it returns.
    DWORD WaitFor();

    // The thread deletes its object when Execute returns. Set it before Start.
    bool FreeOnTerminate = false;

    TThreadPriority Priority() const { return FPriority; }
    void SetPriority(TThreadPriority Value);
    HANDLE Handle() const { return FHandle; }
    DWORD ThreadID() const { return FThreadID; }
    // The exception that ended Execute, if one did.
    std::exception_ptr FatalException() const { return FFatalException; }

protected:
    virtual void Execute() = 0;
    void Synchronize(const std::function<void()>& Fn) { Thread_Synchronize(Fn); }
    DWORD ReturnValue = 0;

private:
    static unsigned __stdcall ThreadProc(void* Self);

    HANDLE FHandle = nullptr;
    DWORD FThreadID = 0;
    TThreadPriority FPriority = TThreadPriority::tpNormal;
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FFinished{false};
    std::atomic<bool> FStarted{false};
    std::exception_ptr FFatalException;
};

}  // namespace ui
