#pragma once

#include "foundation/IThread.h"

#include <memory>
#include <thread>

namespace s::thread::win {

// A pooled worker thread: an operating-system thread created once and parked while idle.
//
// The worker and its owner meet only in a control block that both share. When
// waitIdleOrRestart gives up on a worker stuck in a task, the worker is detached and keeps the
// old block alive; once its task returns it sees that it was abandoned and ends without
// touching anything else. The Thread object carries on with a new worker and a new block.
class Thread final : public IThread {
public:
    static constexpr int kPoolCapacity = 1000;

    Thread();
    // Ends and joins the worker (waits for a running task to return).
    ~Thread() override;
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    unsigned getThreadId() const override;

    void runOnce(ITask* task) override;
    void runTimes(ITask* task, int count) override;
    void runTimesPaced(ITask* task, int count, int intervalMs) override;
    void runTimesAtRate(ITask* task, int count, int periodMs) override;
    void runForever(ITask* task) override;
    void runForeverPaced(ITask* task, int intervalMs) override;
    void runForeverAtRate(ITask* task, int periodMs) override;

    bool isIdle() const override;
    void waitIdle() override;
    bool waitIdleOrRestart(int timeoutMs) override;
    void stopRepeating() override;
    void stopAndWait() override;
    void join() override;
    void requestExit() override;
    void exitAndJoin() override;
    void setStartDelay(int ms) override;
    void resume() override;
    void suspend() override;
    int getPriority() const override;
    void setPriority(int priority) override;
    void setRoutine(Routine routine) override;

    // The thread used as a task: runs the routine, if any.
    void run() override;

    // Pool reset: waits for a running task, normal priority, held and idle, no routine.
    void reset() override;
    void recycle() override;

    const char* getClassName() const override { return "s_thread_win_Thread"; }
    base::IObject* newInstance() const override;

    // True when the operating-system thread could be created.
    bool hasWorker() const { return m_control != nullptr; }

    // The niceness a priority maps to, relative to the process's own.
    static int nicenessOffset(int priority);

    struct Control;

private:
    void createWorker();
    void give(ITask* task, int runs, int pacing, int intervalMs);

    std::shared_ptr<Control> m_control;
    std::thread m_worker;
    int m_priority = kPriorityNormal;
    Routine m_routine = nullptr;
};

}  // namespace s::thread::win
