#include "lang/SystemLanguage.h"

#include "platform/Locale.h"

#include <array>

namespace s::lang {

namespace {

struct WholeId {
    std::uint16_t id;
    std::string_view name;
};

// Identifiers whose name depends on more than their primary language.
constexpr std::array kWholeIds{
    WholeId{0x0004, "CHINESE_SIMPLIFIED"},  WholeId{0x0804, "CHINESE_SIMPLIFIED"},
    WholeId{0x1004, "CHINESE_SIMPLIFIED"},  WholeId{0x0404, "CHINESE_TRADITIONAL"},
    WholeId{0x0C04, "CHINESE_TRADITIONAL"}, WholeId{0x1404, "CHINESE_TRADITIONAL"},
    WholeId{0x7C04, "CHINESE_TRADITIONAL"}, WholeId{0x0416, "PORTUGUESE_BRAZILIAN"},
    WholeId{0x0816, "PORTUGUESE_PORTUGAL"}, WholeId{0x001A, "CROATIAN"},
    WholeId{0x041A, "CROATIAN"},            WholeId{0x101A, "CROATIAN"},
    WholeId{0x081A, "SERBIAN_LATIN"},       WholeId{0x181A, "SERBIAN_LATIN"},
    WholeId{0x0C1A, "SERBIAN_CYRILLIC"},    WholeId{0x1C1A, "SERBIAN_CYRILLIC"},
    WholeId{0x7C1A, "SERBIAN"},             WholeId{0x201A, "BOSNIAN"},
    WholeId{0x042E, "UPPER_SORBIAN"},       WholeId{0x082E, "LOWER_SORBIAN"},
};

// Names of the primary languages 0x00 to 0x8C; empty where the system has no constant.
constexpr std::array<std::string_view, 0x8D> kPrimaryNames{
    "",            "ARABIC",     "BULGARIAN",  "CATALAN",       "CHINESE",     "CZECH",         // 0x00
    "DANISH",      "GERMAN",     "GREEK",      "ENGLISH",       "SPANISH",     "FINNISH",       // 0x06
    "FRENCH",      "HEBREW",     "HUNGARIAN",  "ICELANDIC",     "ITALIAN",     "JAPANESE",      // 0x0C
    "KOREAN",      "DUTCH",      "NORWEGIAN",  "POLISH",        "PORTUGUESE",  "ROMANSH",       // 0x12
    "ROMANIAN",    "RUSSIAN",    "SERBIAN",    "SLOVAK",        "ALBANIAN",    "SWEDISH",       // 0x18
    "THAI",        "TURKISH",    "URDU",       "INDONESIAN",    "UKRAINIAN",   "BELARUSIAN",    // 0x1E
    "SLOVENIAN",   "ESTONIAN",   "LATVIAN",    "LITHUANIAN",    "TAJIK",       "PERSIAN",       // 0x24
    "VIETNAMESE",  "ARMENIAN",   "AZERI",      "BASQUE",        "",            "MACEDONIAN",    // 0x2A
    "",            "",           "TSWANA",     "",              "XHOSA",       "ZULU",          // 0x30
    "AFRIKAANS",   "GEORGIAN",   "FAEROESE",   "HINDI",         "MALTESE",     "SAMI",          // 0x36
    "IRISH",       "",           "MALAY",      "KAZAK",         "KYRGYZ",      "SWAHILI",       // 0x3C
    "TURKMEN",     "UZBEK",      "TATAR",      "BENGALI",       "PUNJABI",     "GUJARATI",      // 0x42
    "ORIYA",       "TAMIL",      "TELUGU",     "KANNADA",       "MALAYALAM",   "ASSAMESE",      // 0x48
    "MARATHI",     "SANSKRIT",   "MONGOLIAN",  "TIBETAN",       "WELSH",       "KHMER",         // 0x4E
    "LAO",         "",           "GALICIAN",   "KONKANI",       "",            "SINDHI",        // 0x54
    "SYRIAC",      "SINHALESE",  "",           "INUKTITUT",     "AMHARIC",     "TAMAZIGHT",     // 0x5A
    "KASHMIRI",    "NEPALI",     "FRISIAN",    "PASHTO",        "FILIPINO",    "DIVEHI",        // 0x60
    "",            "",           "HAUSA",      "",              "YORUBA",      "QUECHUA",       // 0x66
    "SOTHO",       "BASHKIR",    "LUXEMBOURGISH", "GREENLANDIC", "IGBO",       "",              // 0x6C
    "",            "TIGRIGNA",   "",           "",              "",            "",              // 0x72
    "YI",          "",           "MAPUDUNGUN", "",              "MOHAWK",      "",              // 0x78
    "BRETON",      "",           "UIGHUR",     "MAORI",         "OCCITAN",     "CORSICAN",      // 0x7E
    "ALSATIAN",    "YAKUT",      "KICHE",      "KINYARWANDA",   "WOLOF",       "",              // 0x84
    "",            "",           "DARI",                                                        // 0x8A
};

constexpr std::string_view kUnknown = "Unknown";

}  // namespace

std::string_view languageNameOfId(std::uint16_t languageId)
{
    for (const WholeId& whole : kWholeIds) {
        if (whole.id == languageId)
            return whole.name;
    }
    unsigned primary = languageId & 0xFFu;
    if (primary < kPrimaryNames.size() && !kPrimaryNames[primary].empty())
        return kPrimaryNames[primary];
    return kUnknown;
}

std::string systemLanguageNameOf(std::uint16_t languageId)
{
    std::string name(languageNameOfId(languageId));
    for (std::size_t i = 0; i < name.size(); ++i) {
        char c = name[i];
        if (i == 0 && c >= 'a' && c <= 'z')
            name[i] = static_cast<char>(c - 'a' + 'A');
        else if (i > 0 && c >= 'A' && c <= 'Z')
            name[i] = static_cast<char>(c - 'A' + 'a');
    }
    return name;
}

const std::string& systemLanguageName()
{
    static const std::string name = systemLanguageNameOf(platform::userInterfaceLanguageId());
    return name;
}

}  // namespace s::lang
