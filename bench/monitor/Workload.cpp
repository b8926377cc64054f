#include "Workload.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace bench {

namespace {

// A tenth of the burst is appended to, renamed and deleted; a hundredth makes directories of
// ten files each, half of which are removed again.
struct Plan {
    int perDirectory;
    int appends;
    int renames;
    int deletes;
    int madeDirectories;
    int filesPerMadeDirectory = 10;
    int removedDirectories;
};

Plan planFor(const WorkloadShape& shape)
{
    Plan plan{};
    plan.perDirectory = shape.creates / shape.directories;
    plan.appends = shape.creates / 10;
    plan.renames = shape.creates / 10;
    plan.deletes = shape.creates / 10;
    plan.madeDirectories = shape.creates / 100;
    plan.removedDirectories = plan.madeDirectories / 2;
    return plan;
}

std::string fileName(const std::string& base, int directory, int file)
{
    return base + "/d" + std::to_string(directory) + "/f" + std::to_string(file);
}

bool fail(std::string& error, const std::string& what)
{
    error = what + ": " + std::strerror(errno);
    return false;
}

bool create(const std::string& path, std::string& error)
{
    const int descriptor = ::open(path.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    if (descriptor < 0)
        return fail(error, "create " + path);
    ::close(descriptor);
    return true;
}

}  // namespace

WorkloadCounts expectedCounts(const WorkloadShape& shape)
{
    const Plan plan = planFor(shape);
    const int burst = plan.perDirectory * shape.directories;
    WorkloadCounts counts;
    counts.added = static_cast<std::uint64_t>(shape.directories + burst + plan.madeDirectories +
                                              plan.madeDirectories * plan.filesPerMadeDirectory);
    counts.modified = static_cast<std::uint64_t>(plan.appends);
    counts.renamed = static_cast<std::uint64_t>(plan.renames);
    counts.removed = static_cast<std::uint64_t>(plan.deletes + plan.removedDirectories * (plan.filesPerMadeDirectory + 1));
    return counts;
}

bool runWorkload(const std::string& base, const WorkloadShape& shape, std::string& error)
{
    const Plan plan = planFor(shape);
    const auto spread = [&](int index) { return std::pair{index % shape.directories, index / shape.directories}; };
    for (int d = 0; d < shape.directories; ++d) {
        const std::string directory = base + "/d" + std::to_string(d);
        if (::mkdir(directory.c_str(), 0755) != 0)
            return fail(error, "mkdir " + directory);
    }
    for (int i = 0; i < plan.perDirectory * shape.directories; ++i) {
        const auto [d, f] = spread(i);
        if (!create(fileName(base, d, f), error))
            return false;
    }
    const std::string text(100, 'x');
    for (int i = 0; i < plan.appends; ++i) {
        const auto [d, f] = spread(i);
        const std::string path = fileName(base, d, f);
        const int descriptor = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
        if (descriptor < 0 || ::write(descriptor, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
            return fail(error, "append " + path);
        ::close(descriptor);
    }
    for (int i = 0; i < plan.renames; ++i) {
        const auto [d, f] = spread(plan.appends + i);
        const std::string from = fileName(base, d, f);
        if (::rename(from.c_str(), (from + "-renamed").c_str()) != 0)
            return fail(error, "rename " + from);
    }
    for (int i = 0; i < plan.deletes; ++i) {
        const auto [d, f] = spread(plan.appends + plan.renames + i);
        const std::string path = fileName(base, d, f);
        if (::unlink(path.c_str()) != 0)
            return fail(error, "unlink " + path);
    }
    for (int m = 0; m < plan.madeDirectories; ++m) {
        const std::string directory = base + "/made" + std::to_string(m);
        if (::mkdir(directory.c_str(), 0755) != 0)
            return fail(error, "mkdir " + directory);
        for (int f = 0; f < plan.filesPerMadeDirectory; ++f) {
            if (!create(directory + "/g" + std::to_string(f), error))
                return false;
        }
    }
    for (int m = 0; m < plan.removedDirectories; ++m) {
        const std::string directory = base + "/made" + std::to_string(m);
        for (int f = 0; f < plan.filesPerMadeDirectory; ++f) {
            const std::string path = directory + "/g" + std::to_string(f);
            if (::unlink(path.c_str()) != 0)
                return fail(error, "unlink " + path);
        }
        if (::rmdir(directory.c_str()) != 0)
            return fail(error, "rmdir " + directory);
    }
    return true;
}

}  // namespace bench
