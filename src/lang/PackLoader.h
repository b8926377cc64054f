#pragma once

#include "archive/IArchive.h"
#include "lang/Localizer.h"

#include <string_view>

namespace s::lang {

struct PackReadOptions {
    // Venetian ("vec") texts get U+0142 in place of every U+019A. For systems whose fonts lack
    // U+019A (Windows before NT 6.0); never on Linux, where fontconfig finds a font that has it.
    bool replaceBarredL = false;
};

// Appends the languages and texts of a language pack (UTF-8 XML) to localizer. Every language
// gets a text for every entry: a language that has none takes the entry's first text. Returns
// the number of languages read (0 for a pack that is not XML or has no language list).
std::size_t readLanguagePack(Localizer& localizer, std::string_view pack, PackReadOptions options = {});

// A localizer from its pool, filled from the resource typeName/resourceId of archive, with the
// starting language chosen from the system language. It has no languages when the resource is
// missing or unreadable; callers must check (the program cannot run without its texts).
Localizer* loadLanguagePack(const archive::IArchive& archive, std::string_view typeName, int resourceId);

}  // namespace s::lang
