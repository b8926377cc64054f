#include "DiskStats.h"

#include <charconv>

namespace s::platform::perf::provider {

namespace {

// Moves past blanks and returns the next whitespace-separated field of the line.
std::string_view nextField(std::string_view& line)
{
    size_t start = 0;
    while (start < line.size() && (line[start] == ' ' || line[start] == '\t'))
        ++start;
    size_t end = start;
    while (end < line.size() && line[end] != ' ' && line[end] != '\t')
        ++end;
    const std::string_view field = line.substr(start, end - start);
    line.remove_prefix(end);
    return field;
}

bool toNumber(std::string_view field, std::uint64_t& value)
{
    if (field.empty())
        return false;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    return error == std::errc() && end == field.data() + field.size();
}

// Fields after the name: 1 reads, 2 merged, 3 sectors read, 4 ms reading, 5 writes,
// 6 merged, 7 sectors written, 8 ms writing, 9 in flight, 10 ms doing I/O, ...
bool parseLine(std::string_view line, DiskSample& disk)
{
    std::uint64_t number = 0;
    if (!toNumber(nextField(line), number) || !toNumber(nextField(line), number))
        return false;
    const std::string_view name = nextField(line);
    if (name.empty())
        return false;
    std::uint64_t fields[10];
    for (std::uint64_t& field : fields) {
        if (!toNumber(nextField(line), field))
            return false;
    }
    disk.name.assign(name);
    disk.sectorsRead = fields[2];
    disk.sectorsWritten = fields[6];
    disk.ioTicksMs = static_cast<std::uint32_t>(fields[9]);
    disk.counted = false;
    return true;
}

}  // namespace

void parseDiskStats(std::string_view text, std::vector<DiskSample>& disks)
{
    size_t used = 0;
    while (!text.empty()) {
        const size_t newline = text.find('\n');
        const std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
        if (used == disks.size())
            disks.emplace_back();
        if (parseLine(line, disks[used]))
            ++used;
    }
    disks.resize(used);
}

}  // namespace s::platform::perf::provider
