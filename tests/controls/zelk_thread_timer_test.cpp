#include "controls/zelk_thread_timer.h"

#include "../gfx/gfx_test_util.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

using gfxtest::NowMs;
using gfxtest::PumpFor;
using gfxtest::PumpUntil;

namespace {

// Mean spacing of the calls after the first one (the first comes after an arbitrary part of a
// sleep).
double MeanPeriod(const std::vector<double>& t) {
    return (t.back() - t[1]) / double(t.size() - 2);
}

TEST(ZelkThreadTimerTest, StartsDisabledAndNeverCallsWhileDisabled) {
    TZelkThreadTimer timer;
    EXPECT_EQ(timer.ClassName(), L"TZelkThreadTimer");
    EXPECT_FALSE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 0);
    EXPECT_EQ(timer.ThreadPriority(), ui::TThreadPriority::tpNormal);
    int calls = 0;
    timer.OnTimer = [&](ui::TComponent*) { ++calls; };
    timer.SetInterval(20);
    PumpFor(300);
    EXPECT_EQ(calls, 0);
}

TEST(ZelkThreadTimerTest, FirstCallWithinOneIntervalOfEnabling) {
    const int interval = 300;
    TZelkThreadTimer timer;
    timer.SetInterval(interval);
    std::vector<double> calls;
    ui::TComponent* sender = nullptr;
    timer.OnTimer = [&](ui::TComponent* s) {
        sender = s;
        calls.push_back(NowMs());
    };
    PumpFor(100);  // the worker is somewhere in its sleep now
    double enabledAt = NowMs();
    timer.SetEnabled(true);
    ASSERT_TRUE(PumpUntil([&] { return !calls.empty(); }, 3000));
    double first = calls[0] - enabledAt;
    std::printf("[ measured ] first call %.1f ms after enabling (interval %d)\n", first, interval);
    EXPECT_LE(first, interval + 100.0);
    EXPECT_EQ(sender, &timer);
}

TEST(ZelkThreadTimerTest, PeriodIsTheIntervalOrTheHandlerTimePlusTenMilliseconds) {
    // The 1000 ms timer with 300 and 1200 ms handlers, at a fifth of the time; and interval 0.
    struct Case {
        int Interval;
        int HandlerMs;
        int Calls;
        double Expected, Low, High;
    } cases[] = {
        {200, 60, 9, 200, 192, 235},
        {200, 240, 9, 250, 244, 300},
        {0, 0, 40, 10, 9.5, 50},  // the floor matters; a loaded machine adds latency
    };
    for (const Case& c : cases) {
        TZelkThreadTimer timer;
        timer.SetInterval(c.Interval);
        std::vector<double> calls;
        timer.OnTimer = [&](ui::TComponent*) {
            calls.push_back(NowMs());
            if (c.HandlerMs) Sleep(DWORD(c.HandlerMs));
        };
        timer.SetEnabled(true);
        ASSERT_TRUE(PumpUntil([&] { return int(calls.size()) >= c.Calls; }, 20000));
        double period = MeanPeriod(calls);
        std::printf("[ measured ] interval %d, handler %d ms: mean period %.1f ms (expected %.0f)\n", c.Interval,
                    c.HandlerMs, period, c.Expected);
        EXPECT_GE(period, c.Low) << "interval " << c.Interval << " handler " << c.HandlerMs;
        EXPECT_LE(period, c.High) << "interval " << c.Interval << " handler " << c.HandlerMs;
    }
}

TEST(ZelkThreadTimerTest, TicksArriveOnlyWhileTheGuiThreadProcessesMessagesAndNeverPileUp) {
    TZelkThreadTimer timer;
    timer.SetInterval(10);
    int calls = 0;
    timer.OnTimer = [&](ui::TComponent*) { ++calls; };
    timer.SetEnabled(true);
    ASSERT_TRUE(PumpUntil([&] { return calls > 0; }, 3000));
    calls = 0;
    Sleep(300);  // busy: no messages processed, some 30 intervals pass
    EXPECT_EQ(calls, 0);
    ui::Application.ProcessMessages();
    EXPECT_LE(calls, 1);  // one waiting tick, not thirty

    // A long operation that processes messages between its steps, as a wipe run does, lets the
    // ticks through at those moments.
    timer.SetInterval(100);
    ASSERT_TRUE(PumpUntil([&] { return calls > 1; }, 3000));
    calls = 0;
    double start = NowMs();
    while (NowMs() - start < 600) {
        Sleep(20);  // a step of work
        ui::Application.ProcessMessages();
    }
    std::printf("[ measured ] %d ticks of a 100 ms timer during a 600 ms loop\n", calls);
    EXPECT_GE(calls, 4);
    EXPECT_LE(calls, 7);
}

TEST(ZelkThreadTimerTest, NoCallAfterDestructionBegan) {
    // Destroyed through its owner while its worker waits for the GUI thread with a tick.
    auto* owner = new ui::TComponent(nullptr);
    auto* timer = new TZelkThreadTimer(owner);
    int calls = 0;
    timer->OnTimer = [&](ui::TComponent*) { ++calls; };
    timer->SetEnabled(true);
    ASSERT_TRUE(PumpUntil([&] { return calls >= 3; }, 3000));
    HANDLE worker = nullptr;
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), timer->WorkerHandle(), GetCurrentProcess(), &worker, SYNCHRONIZE,
                                FALSE, 0));
    Sleep(50);  // the next tick is queued now
    delete owner;
    int atDestruction = calls;
    PumpFor(200);
    EXPECT_EQ(calls, atDestruction);
    // The worker ends by itself once it is released.
    EXPECT_TRUE(PumpUntil([&] { return WaitForSingleObject(worker, 0) == WAIT_OBJECT_0; }, 2000));
    CloseHandle(worker);

    // Destroyed by its own handler.
    auto* self = new TZelkThreadTimer;
    int selfCalls = 0;
    self->OnTimer = [&](ui::TComponent* sender) {
        ++selfCalls;
        delete sender;
    };
    self->SetEnabled(true);
    ASSERT_TRUE(PumpUntil([&] { return selfCalls > 0; }, 3000));
    PumpFor(150);
    EXPECT_EQ(selfCalls, 1);
}

TEST(ZelkThreadTimerTest, DisablingStopsATickAlreadyQueued) {
    TZelkThreadTimer timer;
    int calls = 0;
    timer.OnTimer = [&](ui::TComponent*) { ++calls; };
    timer.SetEnabled(true);
    ASSERT_TRUE(PumpUntil([&] { return calls > 0; }, 3000));
    Sleep(50);  // a tick waits in the queue
    timer.SetEnabled(false);
    int before = calls;
    PumpFor(150);
    EXPECT_EQ(calls, before);
    timer.SetEnabled(true);
    EXPECT_TRUE(PumpUntil([&] { return calls > before; }, 3000));
}

TEST(ZelkThreadTimerTest, ThreadPriorityAppliesToTheRunningWorker) {
    TZelkThreadTimer timer;
    ASSERT_NE(timer.WorkerHandle(), nullptr);
    EXPECT_EQ(GetThreadPriority(timer.WorkerHandle()), THREAD_PRIORITY_NORMAL);
    // As a form resource sets it, after the component exists and its worker runs.
    timer.SetThreadPriority(ui::TThreadPriority::tpLower);
    EXPECT_EQ(timer.ThreadPriority(), ui::TThreadPriority::tpLower);
    EXPECT_EQ(GetThreadPriority(timer.WorkerHandle()), THREAD_PRIORITY_BELOW_NORMAL);
    // And it keeps running at that priority.
    int calls = 0;
    timer.OnTimer = [&](ui::TComponent*) { ++calls; };
    timer.SetEnabled(true);
    EXPECT_TRUE(PumpUntil([&] { return calls >= 2; }, 3000));
    EXPECT_EQ(GetThreadPriority(timer.WorkerHandle()), THREAD_PRIORITY_BELOW_NORMAL);
}

}  // namespace
