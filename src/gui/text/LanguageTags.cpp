#include "gui/text/LanguageTags.h"

#include <array>
#include <utility>

namespace s::gui::text {

namespace {

// The pack's tags are its own (mostly ISO 639-2 letters, but "zhs", "cpn", "bra", "per", ...).
// Chinese takes its region, which is what fontconfig's language coverage is keyed by.
constexpr std::array<std::pair<std::string_view, std::string_view>, 34> kTags{{
    {"ara", "ar"},    {"bel", "be"},      {"bra", "pt-BR"}, {"bul", "bg"}, {"cpn", "sr-Cyrl"}, {"cze", "cs"},
    {"dan", "da"},    {"deu", "de"},      {"ell", "el"},    {"eng", "en"}, {"est", "et"},      {"fin", "fi"},
    {"fra", "fr"},    {"hrv", "hr"},      {"hun", "hu"},    {"ind", "id"}, {"ita", "it"},      {"jpn", "ja"},
    {"kor", "ko"},    {"nld", "nl"},      {"per", "fa"},    {"pol", "pl"}, {"rom", "ro"},      {"rus", "ru"},
    {"slk", "sk"},    {"spa", "es"},      {"srp", "sr-Latn"}, {"swe", "sv"}, {"tur", "tr"},    {"ukr", "uk"},
    {"vec", "vec"},   {"vie", "vi"},      {"zhs", "zh-CN"}, {"zht", "zh-TW"},
}};

}  // namespace

std::string_view languageTagForPack(std::string_view packTag)
{
    for (const auto& [pack, tag] : kTags) {
        if (pack == packTag)
            return tag;
    }
    return "en";
}

}  // namespace s::gui::text
