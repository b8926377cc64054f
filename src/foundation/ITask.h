#pragma once

namespace s::thread {

// A piece of background work, run on a worker Thread.
class ITask {
public:
    virtual ~ITask() = default;
    virtual void run() = 0;
};

}  // namespace s::thread
