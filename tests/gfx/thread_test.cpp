#include "ui/gfx/thread.h"

#include "gfx_test_util.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

using namespace ui;

namespace {

// Calls Synchronize in a loop until terminated, recording on which thread the calls ran.
class SyncLoop : public TThread {
public:
    SyncLoop() : TThread(true) {}
    ~SyncLoop() override {
        Terminate();
        WaitFor();
    }
    std::atomic<int> Calls{0};
    std::atomic<DWORD> RanOn{0};

protected:
    void Execute() override {
        while (!Terminated()) {
            Synchronize([this] {
                RanOn = GetCurrentThreadId();
                ++Calls;
            });
        }
    }
};

class ThreadTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Thread_InitSynchronize()); }
};

TEST_F(ThreadTest, SynchronizeRunsOnTheGuiThreadWhileItProcessesMessages) {
    EXPECT_EQ(Thread_MainThreadId(), GetCurrentThreadId());
    SyncLoop t;
    t.Start();
    Sleep(50);
    EXPECT_EQ(t.Calls, 0);  // nobody served the queue yet
    ASSERT_TRUE(gfxtest::PumpUntil([&] { return t.Calls >= 5; }, 5000));
    EXPECT_EQ(t.RanOn, GetCurrentThreadId());
}

TEST_F(ThreadTest, WaitingForAWorkerThatWaitsInSynchronizeDoesNotDeadlock) {
    auto* t = new SyncLoop;
    t->Start();
    Sleep(50);  // the worker is now waiting for us in Synchronize
    double start = gfxtest::NowMs();
    delete t;   // Terminate + WaitFor without pumping messages
    EXPECT_LT(gfxtest::NowMs() - start, 2000.0);
}

TEST_F(ThreadTest, SynchronizeOnTheGuiThreadRunsDirectlyAndExceptionsReachTheCaller) {
    bool ran = false;
    Thread_Synchronize([&] { ran = true; });
    EXPECT_TRUE(ran);

    class Thrower : public TThread {
    public:
        Thrower() : TThread(true) {}
        ~Thrower() override { WaitFor(); }
        std::atomic<bool> Caught{false};

    protected:
        void Execute() override {
            try {
                Synchronize([] { throw std::runtime_error("in the handler"); });
            } catch (const std::runtime_error&) {
                Caught = true;
            }
            Synchronize([] { throw 42; });  // not caught here: ends Execute
        }
    } t;
    t.Start();
    t.WaitFor();
    EXPECT_TRUE(t.Caught);
    EXPECT_TRUE(t.Finished());
    EXPECT_TRUE(t.FatalException() != nullptr);
}

TEST_F(ThreadTest, FreeOnTerminateAndNeverStartedThreads) {
    static std::atomic<int> destroyed{0};
    class SelfFreeing : public TThread {
    public:
        SelfFreeing() : TThread(true) { FreeOnTerminate = true; }
        ~SelfFreeing() override { ++destroyed; }

    protected:
        void Execute() override { Synchronize([] {}); }
    };
    destroyed = 0;
    auto* t = new SelfFreeing;
    HANDLE h = nullptr;
    DuplicateHandle(GetCurrentProcess(), t->Handle(), GetCurrentProcess(), &h, 0, FALSE, DUPLICATE_SAME_ACCESS);
    t->Start();
    EXPECT_TRUE(gfxtest::PumpUntil([&] { return WaitForSingleObject(h, 0) == WAIT_OBJECT_0; }, 5000));
    CloseHandle(h);
    EXPECT_EQ(destroyed, 1);

    // Created suspended and destroyed without Start: Execute never runs, nothing hangs.
    struct Never : TThread {
        Never() : TThread(true) {}
        std::atomic<bool> Ran{false};
        void Execute() override { Ran = true; }
    };
    auto* n = new Never;
    n->SetPriority(TThreadPriority::tpLower);
    EXPECT_EQ(GetThreadPriority(n->Handle()), THREAD_PRIORITY_BELOW_NORMAL);
    delete n;
}

}  // namespace
