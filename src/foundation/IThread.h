#pragma once

#include "foundation/IObject.h"
#include "foundation/IPoolable.h"
#include "foundation/ITask.h"

namespace s::thread {

// A worker thread that runs tasks by a repetition rule. A run operation replaces whatever the
// worker was given before and does not wait; the task being run, if any, completes first.
class IThread : public base::IObject, public IPoolable, public ITask {
public:
    // Run by the thread's own run(), given the thread's task facet.
    using Routine = void (*)(ITask* self);

    // Scheduling priorities, as in the system's table: 0 normal, -1 below normal, ...
    static constexpr int kPriorityIdle = -15;
    static constexpr int kPriorityLowest = -2;
    static constexpr int kPriorityBelowNormal = -1;
    static constexpr int kPriorityNormal = 0;
    static constexpr int kPriorityAboveNormal = 1;
    static constexpr int kPriorityHighest = 2;
    static constexpr int kPriorityTimeCritical = 15;

    virtual unsigned getThreadId() const = 0;

    virtual void runOnce(ITask* task) = 0;
    virtual void runTimes(ITask* task, int count) = 0;
    // Pauses intervalMs after every run but the last.
    virtual void runTimesPaced(ITask* task, int count, int intervalMs) = 0;
    // Starts each run periodMs after the previous one started; a late run starts at once,
    // without catching up.
    virtual void runTimesAtRate(ITask* task, int count, int periodMs) = 0;
    virtual void runForever(ITask* task) = 0;
    virtual void runForeverPaced(ITask* task, int intervalMs) = 0;
    virtual void runForeverAtRate(ITask* task, int periodMs) = 0;

    virtual bool isIdle() const = 0;
    // Waits without limit until the worker has nothing to do.
    virtual void waitIdle() = 0;
    // Waits up to timeoutMs; if the worker is still busy, it is abandoned and replaced by a fresh
    // one (the task and its repetition are forgotten). Returns whether the worker went idle.
    virtual bool waitIdleOrRestart(int timeoutMs) = 0;
    // No further run starts; the current one completes.
    virtual void stopRepeating() = 0;
    virtual void stopAndWait() = 0;
    // Waits until the worker has ended; only useful after requestExit.
    virtual void join() = 0;
    virtual void requestExit() = 0;
    virtual void exitAndJoin() = 0;
    // A one-shot pause before the worker's next pass; run operations clear it.
    virtual void setStartDelay(int ms) = 0;
    // Lets a held worker go on, however often it was held.
    virtual void resume() = 0;
    // Holds the worker at its next pass until resume or a run operation.
    virtual void suspend() = 0;
    virtual int getPriority() const = 0;
    virtual void setPriority(int priority) = 0;
    virtual void setRoutine(Routine routine) = 0;
};

}  // namespace s::thread
