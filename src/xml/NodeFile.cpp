#include "xml/Node.h"

#include "platform/Files.h"

namespace s::xml {

ParseResult Node::load(const std::string& path)
{
    std::string bytes;
    platform::FileResult read = platform::readFile(path, bytes);
    if (!read.ok())
        return ParseResult{ParseStatus::Unreadable, 0, read.error};
    return parseUtf8(bytes);
}

SaveResult Node::save(const std::string& path) const
{
    std::string bytes;
    toUtf8(bytes);
    return SaveResult{platform::writeFileDurably(path, bytes).error};
}

}  // namespace s::xml
