#include "ui/gfx/thread.h"

#include <process.h>

#include <condition_variable>
#include <deque>
#include <mutex>

namespace ui {

namespace {

constexpr UINT WM_SYNCHRONIZE = WM_APP + 0x5A1;
const wchar_t SyncWindowClass[] = L"BlankoSynchronizeWindow";

struct SyncRequest {
    const std::function<void()>* Fn;
    bool Done = false;
    std::exception_ptr Error;
};

// Shared by the workers and the GUI thread, guarded by Lock. Made once and never destroyed:
// workers may still wait on it while the process ends and static objects go away.
struct SyncState {
    std::mutex Lock;
    std::condition_variable Done;
    std::deque<SyncRequest*> Queue;
    HWND Window = nullptr;
    HANDLE Pending = nullptr;  // manual-reset event: set while Queue is not empty
    bool MessagePosted = false;  // a WM_SYNCHRONIZE is on its way; one serves any number of calls
};
SyncState& Sync() {
    static SyncState* state = new SyncState;
    return *state;
}
std::atomic<DWORD> MainThreadId{0};

LRESULT CALLBACK SyncWindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_SYNCHRONIZE) {
        Thread_CheckSynchronize();
        return 0;
    }
    return DefWindowProcW(wnd, msg, wp, lp);
}

}  // namespace

int ThreadPriority_ToWindows(TThreadPriority p) {
    switch (p) {
        case TThreadPriority::tpIdle: return THREAD_PRIORITY_IDLE;
        case TThreadPriority::tpLowest: return THREAD_PRIORITY_LOWEST;
        case TThreadPriority::tpLower: return THREAD_PRIORITY_BELOW_NORMAL;
        case TThreadPriority::tpNormal: return THREAD_PRIORITY_NORMAL;
        case TThreadPriority::tpHigher: return THREAD_PRIORITY_ABOVE_NORMAL;
        case TThreadPriority::tpHighest: return THREAD_PRIORITY_HIGHEST;
        case TThreadPriority::tpTimeCritical: return THREAD_PRIORITY_TIME_CRITICAL;
    }
    return THREAD_PRIORITY_NORMAL;
}

bool Thread_InitSynchronize() {
    SyncState& sync = Sync();
    std::lock_guard<std::mutex> lock(sync.Lock);
    if (sync.Window) return true;
    HINSTANCE inst = GetModuleHandleW(nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = SyncWindowProc;
    wc.hInstance = inst;
    wc.lpszClassName = SyncWindowClass;
    if (!RegisterClassW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    if (!sync.Pending) sync.Pending = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!sync.Pending) return false;
    sync.Window = CreateWindowExW(0, SyncWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, inst, nullptr);
    if (!sync.Window) return false;
    MainThreadId = GetCurrentThreadId();
    return true;
}

DWORD Thread_MainThreadId() { return MainThreadId; }

bool Thread_CheckSynchronize() {
    if (MainThreadId == 0 || GetCurrentThreadId() != MainThreadId) return false;
    bool ranAny = false;
    SyncState& sync = Sync();
    std::unique_lock<std::mutex> lock(sync.Lock);
    sync.MessagePosted = false;  // calls queued from now on post a new message
    while (!sync.Queue.empty()) {
        SyncRequest* req = sync.Queue.front();
        sync.Queue.pop_front();
        lock.unlock();
        // The call may process messages itself and so run further calls, nested: the queue is
        // never locked while a call runs.
        try {
            (*req->Fn)();
        } catch (...) {
            req->Error = std::current_exception();
        }
        ranAny = true;
        lock.lock();
        req->Done = true;
        sync.Done.notify_all();
    }
    ResetEvent(sync.Pending);
    return ranAny;
}

void Thread_Synchronize(const std::function<void()>& Fn) {
    DWORD main = MainThreadId;
    if (main == 0 || GetCurrentThreadId() == main) {
        // On the GUI thread (or with no GUI thread at all) there is nobody to hand it to.
        Fn();
        return;
    }
    SyncRequest req{&Fn, false, nullptr};
    SyncState& sync = Sync();
    {
        std::unique_lock<std::mutex> lock(sync.Lock);
        sync.Queue.push_back(&req);
        SetEvent(sync.Pending);
        if (!sync.MessagePosted) sync.MessagePosted = PostMessageW(sync.Window, WM_SYNCHRONIZE, 0, 0) != FALSE;
        sync.Done.wait(lock, [&] { return req.Done; });
    }
    if (req.Error) std::rethrow_exception(req.Error);
}

// --- TThread ---

TThread::TThread(bool CreateSuspended) {
    if (MainThreadId == 0) Thread_InitSynchronize();
    unsigned id = 0;
    FHandle = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, ThreadProc, this, CREATE_SUSPENDED, &id));
    FThreadID = id;
    if (FHandle && !CreateSuspended) Start();
}

TThread::~TThread() {
    if (FHandle && GetCurrentThreadId() != FThreadID) {
        // A thread that never ran is let go without running Execute.
        FTerminated = true;
        if (!FStarted.exchange(true)) ResumeThread(FHandle);
        WaitFor();
    }
    if (FHandle) CloseHandle(FHandle);
}

void TThread::Start() {
    if (FHandle && !FStarted.exchange(true)) ResumeThread(FHandle);
}

void TThread::SetPriority(TThreadPriority Value) {
    FPriority = Value;
    if (FHandle) SetThreadPriority(FHandle, ThreadPriority_ToWindows(Value));
}

DWORD TThread::WaitFor() {
    if (!FHandle || GetCurrentThreadId() == FThreadID) return ReturnValue;
    if (GetCurrentThreadId() != MainThreadId) {
        WaitForSingleObject(FHandle, INFINITE);
        return ReturnValue;
    }
    // On the GUI thread: the worker may be waiting in Synchronize for us. Serve those calls, and
    // messages that other threads send to our windows, until the worker has ended.
    for (;;) {
        HANDLE handles[2] = {FHandle, Sync().Pending};
        DWORD r = MsgWaitForMultipleObjects(2, handles, FALSE, INFINITE, QS_SENDMESSAGE);
        if (r == WAIT_OBJECT_0) break;
        if (r == WAIT_OBJECT_0 + 1) {
            Thread_CheckSynchronize();
        } else if (r == WAIT_OBJECT_0 + 2) {
            MSG msg;
            PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        } else {
            WaitForSingleObject(FHandle, INFINITE);
            break;
        }
    }
    return ReturnValue;
}

unsigned __stdcall TThread::ThreadProc(void* Self) {
    auto* t = static_cast<TThread*>(Self);
    if (!t->FTerminated) {
        // No exception leaves a thread: keep it for whoever asks.
        try {
            t->Execute();
        } catch (...) {
            t->FFatalException = std::current_exception();
        }
    }
    DWORD result = t->ReturnValue;
    bool freeSelf = t->FreeOnTerminate;
    t->FFinished = true;
    if (freeSelf) delete t;
    return result;
}

}  // namespace ui
