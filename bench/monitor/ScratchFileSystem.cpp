#include "ScratchFileSystem.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace bench {

bool runProgram(const std::string& program, const std::initializer_list<std::string>& arguments, bool quiet)
{
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (quiet) {
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    }
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return false;
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool ScratchFileSystem::create(std::string& note)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "ostrel-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        return false;
    m_base = pattern;
    const std::string image = m_base + "/image.ext4";
    const std::string mountPoint = m_base + "/mnt";
    std::filesystem::create_directory(mountPoint);
    // 1 GiB, sparse, with inodes for a few hundred thousand files.
    const int descriptor = ::open(image.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600);
    const bool sized = descriptor >= 0 && ::ftruncate(descriptor, 1LL << 30) == 0;
    if (descriptor >= 0)
        ::close(descriptor);
    if (!sized || !runProgram("mkfs.ext4", {"-q", "-F", "-N", "400000", image}, true)) {
        note = "mkfs.ext4 failed or is missing: running on " + m_base + ", where a filesystem mark sees the whole disk";
        m_root = m_base;
        return true;
    }
    if (!runProgram("mount", {"-o", "loop", image, mountPoint}, true)) {
        note = "mount -o loop failed (root is needed): running on " + m_base +
               ", where a filesystem mark sees the whole disk";
        m_root = m_base;
        return true;
    }
    m_mounted = true;
    m_root = mountPoint;
    note = "workload on a loop-mounted ext4 image at " + mountPoint;
    return true;
}

ScratchFileSystem::~ScratchFileSystem()
{
    if (m_mounted)
        runProgram("umount", {m_root}, true);
    std::error_code error;
    if (!m_base.empty())
        std::filesystem::remove_all(m_base, error);
}

}  // namespace bench
