#pragma once

namespace s::base {

// Hands out an object; a pool hands out a kept one or a new one.
class IGenerator {
public:
    virtual void* generate() = 0;

protected:
    ~IGenerator() = default;
};

}  // namespace s::base
