#include "settings/DocumentFile.h"

#include <cerrno>

namespace s::map {

namespace {

std::string describe(xml::ParseStatus status)
{
    switch (status) {
    case xml::ParseStatus::NoElement: return "holds no XML element";
    case xml::ParseStatus::Truncated: return "ends in the middle of an element";
    case xml::ParseStatus::TooDeep: return "nests its elements too deeply";
    case xml::ParseStatus::Ok:
    case xml::ParseStatus::Unreadable: break;
    }
    return "cannot be read";
}

}  // namespace

DocumentRead readDocument(const std::string& file, xml::Node& root)
{
    DocumentRead read;
    platform::FileResult result = platform::readFile(file, read.bytes, &read.stamp);
    if (!result.ok()) {
        read.bytes.clear();
        if (result.error == ENOENT)
            return read;
        read.outcome = DocumentRead::Outcome::Damaged;
        read.stamp = platform::fileStamp(file);
        read.problem = "cannot be read (" + errorText(result.error) + ")";
        return read;
    }

    xml::ParseResult parsed = root.parseUtf8(read.bytes);
    // A comment before the root would otherwise become the root and hide the whole document.
    while (parsed.ok() && root.isComment()) {
        root.clear();
        std::size_t from = parsed.offset;
        parsed = root.parse(std::string_view(read.bytes).substr(from));
        parsed.offset += from;
    }
    if (!parsed.ok()) {
        root.clear();
        read.outcome = DocumentRead::Outcome::Damaged;
        read.problem = describe(parsed.status);
        return read;
    }
    read.outcome = DocumentRead::Outcome::Loaded;
    return read;
}

bool setAsideDamaged(const std::string& file, const std::string& problem, const Reporter& report)
{
    auto say = [&](const std::string& message) {
        if (report)
            report(message);
    };
    std::string movedTo;
    platform::FileResult moved = platform::moveAside(file, file + ".broken", &movedTo);
    if (moved.ok()) {
        say("the settings file " + file + " " + problem + "; it was moved to " + movedTo +
               " and the settings start from their defaults");
        return true;
    }
    say("the settings file " + file + " " + problem + " and could not be moved aside (" +
           errorText(moved.error) + "); the settings start from their defaults and changes will not be saved");
    return false;
}

}  // namespace s::map
