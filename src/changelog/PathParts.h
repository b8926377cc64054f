#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace s::file::gui::dialogs::fileaccess {

// Where the folder and the name of a path lie within it.
struct PathParts {
    // The folder is the path's first folderLength bytes.
    std::size_t folderLength = 0;
    std::size_t nameOffset = 0;
    std::size_t nameLength = 0;
    // The extension starts this far into the name; equal to nameLength when there is none.
    std::size_t extensionOffset = 0;
};

// Splits an absolute path, after dropping trailing '/', into its folder (without a trailing '/',
// "/" for a name in the root) and its last component. The extension is the last component from
// its last '.', unless that dot starts the name (".profile" has none). Fails for an empty or
// relative path, for the root itself, and for a path holding a NUL byte.
bool splitPath(std::string_view path, PathParts& parts);

// The text lower-cased in the C library's current locale. Bytes that are not a character of the
// locale's encoding are kept as they are.
std::string lowerCaseInLocale(std::string_view text);

}  // namespace s::file::gui::dialogs::fileaccess
