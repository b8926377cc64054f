#include "foundation/ClassPool.h"
#include "foundation/Thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using s::thread::ITask;
using s::thread::win::Thread;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

long long msSince(Clock::time_point start)
{
    return std::chrono::duration_cast<milliseconds>(Clock::now() - start).count();
}

// Records when each run started and ended; optionally takes a while or blocks until released.
class RecordingTask final : public ITask {
public:
    explicit RecordingTask(int workMs = 0) : m_workMs(workMs) {}

    void run() override
    {
        {
            std::lock_guard lock(m_lock);
            m_starts.push_back(Clock::now());
            m_running = true;
            m_changed.notify_all();
        }
        if (m_workMs > 0)
            std::this_thread::sleep_for(milliseconds(m_workMs));
        std::unique_lock lock(m_lock);
        m_changed.wait(lock, [this] { return !m_blocked; });
        m_ends.push_back(Clock::now());
        m_running = false;
        m_changed.notify_all();
    }

    void block()
    {
        std::lock_guard lock(m_lock);
        m_blocked = true;
    }
    void release()
    {
        std::lock_guard lock(m_lock);
        m_blocked = false;
        m_changed.notify_all();
    }
    void waitRunning()
    {
        std::unique_lock lock(m_lock);
        m_changed.wait(lock, [this] { return m_running; });
    }
    int runs()
    {
        std::lock_guard lock(m_lock);
        return static_cast<int>(m_ends.size());
    }
    std::vector<Clock::time_point> starts()
    {
        std::lock_guard lock(m_lock);
        return m_starts;
    }
    std::vector<Clock::time_point> ends()
    {
        std::lock_guard lock(m_lock);
        return m_ends;
    }

private:
    int m_workMs;
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::vector<Clock::time_point> m_starts;
    std::vector<Clock::time_point> m_ends;
    bool m_running = false;
    bool m_blocked = false;
};

long long gapMs(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration_cast<milliseconds>(to - from).count();
}

TEST(ThreadTest, FreshThreadIsIdleAndHasAnId)
{
    Thread thread;
    EXPECT_TRUE(thread.hasWorker());
    EXPECT_TRUE(thread.isIdle());
    EXPECT_NE(thread.getThreadId(), 0u);
    EXPECT_STREQ(thread.getClassName(), "s_thread_win_Thread");
}

TEST(ThreadTest, RunTimesRunsExactlyThatOftenThenGoesIdle)
{
    Thread thread;
    RecordingTask task;
    task.block();
    thread.runTimes(&task, 3);
    EXPECT_FALSE(thread.isIdle());
    task.release();
    thread.waitIdle();
    EXPECT_TRUE(thread.isIdle());
    EXPECT_EQ(task.runs(), 3);

    thread.runOnce(&task);
    thread.waitIdle();
    EXPECT_EQ(task.runs(), 4);
}

TEST(ThreadTest, PacedRunsPauseAfterEveryRunButTheLast)
{
    Thread thread;
    RecordingTask task;
    const auto start = Clock::now();
    thread.runTimesPaced(&task, 2, 300);
    thread.waitIdle();
    const auto done = Clock::now();
    ASSERT_EQ(task.runs(), 2);
    const auto starts = task.starts();
    const auto ends = task.ends();
    EXPECT_GE(gapMs(ends[0], starts[1]), 290);
    // No pause after the second run: idle comes right after it.
    EXPECT_LT(gapMs(ends[1], done), 250);
    EXPECT_GE(gapMs(start, done), 290);
}

TEST(ThreadTest, AtRateStartsRunsOnePeriodApartWithoutCatchingUp)
{
    Thread thread;
    RecordingTask quick(60);
    thread.runTimesAtRate(&quick, 3, 250);
    thread.waitIdle();
    auto starts = quick.starts();
    ASSERT_EQ(starts.size(), 3u);
    for (int i = 1; i < 3; ++i) {
        EXPECT_GE(gapMs(starts[i - 1], starts[i]), 240);
        EXPECT_LT(gapMs(starts[i - 1], starts[i]), 450);
    }

    RecordingTask slow(300);
    thread.runTimesAtRate(&slow, 2, 100);
    thread.waitIdle();
    auto slowStarts = slow.starts();
    auto slowEnds = slow.ends();
    ASSERT_EQ(slowStarts.size(), 2u);
    // The run was longer than the period: the next one starts at once.
    EXPECT_LT(gapMs(slowEnds[0], slowStarts[1]), 80);
}

TEST(ThreadTest, ForeverAtRateKeepsItsPeriodUntilStopped)
{
    Thread thread;
    RecordingTask task(30);
    thread.runForeverAtRate(&task, 150);
    std::this_thread::sleep_for(milliseconds(700));
    thread.stopAndWait();
    const auto starts = task.starts();
    ASSERT_GE(starts.size(), 3u);
    ASSERT_LE(starts.size(), 6u);
    for (std::size_t i = 1; i < starts.size(); ++i)
        EXPECT_GE(gapMs(starts[i - 1], starts[i]), 140);
}

TEST(ThreadTest, StopRepeatingLetsTheCurrentRunFinishAndStartsNoOther)
{
    Thread thread;
    RecordingTask task;
    task.block();
    thread.runForever(&task);
    task.waitRunning();
    thread.stopRepeating();
    EXPECT_FALSE(thread.isIdle());
    task.release();
    thread.waitIdle();
    EXPECT_EQ(task.runs(), 1);
    std::this_thread::sleep_for(milliseconds(50));
    EXPECT_EQ(task.runs(), 1);
}

TEST(ThreadTest, RunOperationWhileBusyReplacesTheRestOfTheRepetition)
{
    Thread thread;
    RecordingTask first;
    RecordingTask second;
    first.block();
    thread.runTimes(&first, 5);
    first.waitRunning();
    thread.runTimes(&second, 2);
    EXPECT_EQ(second.runs(), 0);  // the running task finishes first
    first.release();
    thread.waitIdle();
    EXPECT_EQ(first.runs(), 1);
    EXPECT_EQ(second.runs(), 2);
    EXPECT_LE(first.ends()[0], second.starts()[0]);
}

TEST(ThreadTest, RunOperationCutsAPaceInProgressShort)
{
    Thread thread;
    RecordingTask slowPaced;
    RecordingTask next;
    thread.runForeverPaced(&slowPaced, 60000);
    while (slowPaced.runs() == 0)
        std::this_thread::sleep_for(milliseconds(5));
    const auto start = Clock::now();
    thread.runOnce(&next);
    thread.waitIdle();
    EXPECT_EQ(next.runs(), 1);
    EXPECT_LT(msSince(start), 5000);
}

TEST(ThreadTest, PoolResetOfABusyThreadWaitsForTheRunToEnd)
{
    auto* thread = s::thread::take<Thread>();
    RecordingTask task;
    task.block();
    thread->runForever(&task);
    task.waitRunning();
    std::atomic<bool> recycled{false};
    std::thread giver([&] {
        thread->recycle();
        recycled = true;
    });
    std::this_thread::sleep_for(milliseconds(100));
    EXPECT_FALSE(recycled);
    task.release();
    giver.join();
    EXPECT_TRUE(recycled);
    EXPECT_EQ(task.runs(), 1);

    // The recycled thread comes back parked and idle, and runs again for its next user.
    auto* again = s::thread::take<Thread>();
    EXPECT_EQ(again, thread);
    EXPECT_TRUE(again->isIdle());
    RecordingTask later;
    again->runOnce(&later);
    again->waitIdle();
    EXPECT_EQ(later.runs(), 1);
    again->recycle();
}

TEST(ThreadTest, StartDelayIsClearedByARunButDelaysALaterPass)
{
    Thread thread;
    RecordingTask task;
    thread.setStartDelay(400);
    auto start = Clock::now();
    thread.runOnce(&task);
    thread.waitIdle();
    EXPECT_LT(msSince(start), 300);

    // Set while the first of two runs is going on: the second waits for it.
    task.block();
    thread.runTimes(&task, 2);
    task.waitRunning();
    thread.setStartDelay(250);
    task.release();
    thread.waitIdle();
    const auto starts = task.starts();
    const auto ends = task.ends();
    ASSERT_EQ(starts.size(), 3u);
    EXPECT_GE(gapMs(ends[1], starts[2]), 240);
}

TEST(ThreadTest, SuspendHoldsTheWorkerUntilResume)
{
    Thread thread;
    RecordingTask task;
    task.block();
    thread.runTimes(&task, 2);
    task.waitRunning();
    thread.suspend();
    task.release();
    std::this_thread::sleep_for(milliseconds(100));
    EXPECT_EQ(task.runs(), 1);
    thread.resume();
    thread.waitIdle();
    EXPECT_EQ(task.runs(), 2);
}

TEST(ThreadTest, WaitIdleOrRestartReplacesAStuckWorker)
{
    Thread thread;
    auto stuck = std::make_shared<RecordingTask>();
    stuck->block();
    thread.runOnce(stuck.get());
    stuck->waitRunning();
    const unsigned oldId = thread.getThreadId();
    thread.setPriority(Thread::kPriorityBelowNormal);

    EXPECT_FALSE(thread.waitIdleOrRestart(100));
    EXPECT_TRUE(thread.isIdle());
    EXPECT_NE(thread.getThreadId(), oldId);
    EXPECT_EQ(thread.getPriority(), Thread::kPriorityBelowNormal);

    RecordingTask next;
    thread.runOnce(&next);
    thread.waitIdle();
    EXPECT_EQ(next.runs(), 1);

    // The abandoned worker finishes its task later and ends without touching the Thread.
    stuck->release();
    while (stuck->runs() == 0)
        std::this_thread::sleep_for(milliseconds(5));
    EXPECT_TRUE(thread.waitIdleOrRestart(100));
}

TEST(ThreadTest, ExitAndJoinWaitsForTheRunningTaskThenEndsTheWorker)
{
    Thread thread;
    RecordingTask task;
    task.block();
    thread.runOnce(&task);
    task.waitRunning();
    std::atomic<bool> joined{false};
    std::thread owner([&] {
        thread.exitAndJoin();
        joined = true;
    });
    std::this_thread::sleep_for(milliseconds(100));
    EXPECT_FALSE(joined);
    task.release();
    owner.join();
    EXPECT_EQ(task.runs(), 1);

    // Operations on an ended worker return instead of waiting for ever, and run nothing.
    thread.runOnce(&task);
    thread.waitIdle();
    thread.stopAndWait();
    EXPECT_EQ(task.runs(), 1);
}

TEST(ThreadTest, RoutineRunsWhenTheThreadIsUsedAsATask)
{
    static std::atomic<int> calls;
    static ITask* seen;
    calls = 0;
    seen = nullptr;
    Thread runner;
    Thread asTask;
    asTask.setRoutine([](ITask* self) {
        seen = self;
        ++calls;
    });
    runner.runTimes(&asTask, 2);
    runner.waitIdle();
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(seen, static_cast<ITask*>(&asTask));
}

TEST(ThreadTest, PriorityIsRememberedAndMapsToNiceness)
{
    Thread thread;
    thread.setPriority(Thread::kPriorityBelowNormal);
    EXPECT_EQ(thread.getPriority(), Thread::kPriorityBelowNormal);
    struct Case {
        int priority;
        int niceness;
    };
    for (Case c : {Case{-15, 19}, Case{-2, 10}, Case{-1, 5}, Case{0, 0}, Case{1, -5}, Case{2, -10}, Case{15, -20}})
        EXPECT_EQ(Thread::nicenessOffset(c.priority), c.niceness) << c.priority;
}

TEST(ThreadTest, ManyThreadsTakenAndRecycledConcurrently)
{
    struct Counter final : ITask {
        std::atomic<int> runs{0};
        void run() override { ++runs; }
    } counter;
    std::vector<std::thread> users;
    for (int u = 0; u < 4; ++u) {
        users.emplace_back([&counter] {
            for (int round = 0; round < 50; ++round) {
                std::vector<Thread*> threads;
                for (int i = 0; i < 4; ++i) {
                    threads.push_back(s::thread::take<Thread>());
                    threads.back()->runTimes(&counter, 2);
                }
                for (Thread* thread : threads) {
                    thread->waitIdle();
                    thread->recycle();
                }
            }
        });
    }
    for (auto& user : users)
        user.join();
    EXPECT_EQ(counter.runs, 4 * 50 * 4 * 2);
    EXPECT_LE(s::thread::poolOf<Thread>().getKeptCount(), 16u + 2u);
}

}  // namespace
