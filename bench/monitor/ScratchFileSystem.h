#pragma once

#include <string>

namespace bench {

// A small ext4 image loop-mounted in a temporary directory, so that a filesystem-wide mark sees
// only what the benchmark does there. Without mkfs.ext4 or the right to mount, the temporary
// directory itself is used, and that is said.
class ScratchFileSystem {
public:
    ScratchFileSystem() = default;
    ~ScratchFileSystem();
    ScratchFileSystem(const ScratchFileSystem&) = delete;
    ScratchFileSystem& operator=(const ScratchFileSystem&) = delete;

    // False when not even a temporary directory could be made.
    bool create(std::string& note);
    const std::string& root() const { return m_root; }
    bool isLoopMounted() const { return m_mounted; }

private:
    std::string m_base;
    std::string m_root;
    bool m_mounted = false;
};

// Runs a program with arguments (no shell) and waits for it; true when it exited with 0.
bool runProgram(const std::string& program, const std::initializer_list<std::string>& arguments, bool quiet);

}  // namespace bench
