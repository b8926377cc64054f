#pragma once

#include <string_view>

namespace s::gui::text {

// The BCP 47 tag of a language of the pack, by the pack's own three-letter tag ("zhs", "per",
// "bra", ...); "en" for a tag the table does not know.
std::string_view languageTagForPack(std::string_view packTag);

}  // namespace s::gui::text
