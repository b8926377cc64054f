#include "changelog/PathParts.h"

#include <climits>
#include <cwchar>
#include <cwctype>

namespace s::file::gui::dialogs::fileaccess {

bool splitPath(std::string_view path, PathParts& parts)
{
    parts = PathParts{};
    if (path.empty() || path.front() != '/' || path.find('\0') != std::string_view::npos)
        return false;
    const std::size_t end = path.find_last_not_of('/') + 1;
    if (end == 0)
        return false;
    const std::size_t nameOffset = path.rfind('/', end - 1) + 1;
    const std::size_t folderEnd = path.find_last_not_of('/', nameOffset - 1);
    parts.folderLength = folderEnd == std::string_view::npos ? 1 : folderEnd + 1;
    parts.nameOffset = nameOffset;
    parts.nameLength = end - nameOffset;
    const std::string_view name = path.substr(nameOffset, parts.nameLength);
    const std::size_t dot = name.rfind('.');
    parts.extensionOffset = (dot == std::string_view::npos || dot == 0) ? parts.nameLength : dot;
    return true;
}

std::string lowerCaseInLocale(std::string_view text)
{
    std::string lower;
    lower.reserve(text.size());
    std::mbstate_t in{};
    std::mbstate_t out{};
    char encoded[MB_LEN_MAX];
    std::size_t position = 0;
    while (position < text.size()) {
        wchar_t character = 0;
        const std::size_t used = std::mbrtowc(&character, text.data() + position, text.size() - position, &in);
        if (used == static_cast<std::size_t>(-1) || used == static_cast<std::size_t>(-2) || used == 0) {
            // Not a character here (or a cut-off one at the end): the byte stands for itself.
            lower.push_back(text[position]);
            ++position;
            in = std::mbstate_t{};
            continue;
        }
        const std::size_t written = std::wcrtomb(encoded, static_cast<wchar_t>(std::towlower(static_cast<wint_t>(character))), &out);
        if (written == static_cast<std::size_t>(-1)) {
            lower.append(text.data() + position, used);
            out = std::mbstate_t{};
        } else {
            lower.append(encoded, written);
        }
        position += used;
    }
    return lower;
}

}  // namespace s::file::gui::dialogs::fileaccess
