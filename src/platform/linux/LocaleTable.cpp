#include "platform/Locale.h"

#include <array>
#include <cstddef>

namespace s::platform {

namespace {

// A language code with the identifier it gets when no row of kRegional matches: its main region.
struct LanguageRow {
    std::string_view language;
    std::uint16_t id;
};

// A language in one territory and/or script. An empty territory matches any territory.
struct RegionalRow {
    std::string_view language;
    std::string_view territory;
    std::string_view modifier;
    std::uint16_t id;
};

constexpr std::array kLanguages{
    LanguageRow{"af", 0x0436},  LanguageRow{"am", 0x045E},  LanguageRow{"ar", 0x0401},  LanguageRow{"arn", 0x047A},
    LanguageRow{"as", 0x044D},  LanguageRow{"az", 0x042C},  LanguageRow{"ba", 0x046D},  LanguageRow{"be", 0x0423},
    LanguageRow{"ber", 0x085F}, LanguageRow{"bg", 0x0402},  LanguageRow{"bn", 0x0445},  LanguageRow{"bo", 0x0451},
    LanguageRow{"br", 0x047E},  LanguageRow{"bs", 0x141A},  LanguageRow{"ca", 0x0403},  LanguageRow{"chr", 0x045C},
    LanguageRow{"co", 0x0483},  LanguageRow{"cs", 0x0405},  LanguageRow{"cy", 0x0452},  LanguageRow{"da", 0x0406},
    LanguageRow{"de", 0x0407},  LanguageRow{"dsb", 0x082E}, LanguageRow{"dv", 0x0465},  LanguageRow{"el", 0x0408},
    LanguageRow{"en", 0x0409},  LanguageRow{"es", 0x0C0A},  LanguageRow{"et", 0x0425},  LanguageRow{"eu", 0x042D},
    LanguageRow{"fa", 0x0429},  LanguageRow{"fi", 0x040B},  LanguageRow{"fil", 0x0464}, LanguageRow{"fo", 0x0438},
    LanguageRow{"fr", 0x040C},  LanguageRow{"fy", 0x0462},  LanguageRow{"ga", 0x083C},  LanguageRow{"gd", 0x0491},
    LanguageRow{"gl", 0x0456},  LanguageRow{"gsw", 0x0484}, LanguageRow{"gu", 0x0447},  LanguageRow{"ha", 0x0468},
    LanguageRow{"he", 0x040D},  LanguageRow{"hi", 0x0439},  LanguageRow{"hr", 0x041A},  LanguageRow{"hsb", 0x042E},
    LanguageRow{"hu", 0x040E},  LanguageRow{"hy", 0x042B},  LanguageRow{"id", 0x0421},  LanguageRow{"ig", 0x0470},
    LanguageRow{"ii", 0x0478},  LanguageRow{"in", 0x0421},  LanguageRow{"is", 0x040F},  LanguageRow{"it", 0x0410},
    LanguageRow{"iu", 0x085D},  LanguageRow{"iw", 0x040D},  LanguageRow{"ja", 0x0411},  LanguageRow{"ka", 0x0437},
    LanguageRow{"kk", 0x043F},  LanguageRow{"kl", 0x046F},  LanguageRow{"km", 0x0453},  LanguageRow{"kn", 0x044B},
    LanguageRow{"ko", 0x0412},  LanguageRow{"kok", 0x0457}, LanguageRow{"ks", 0x0460},  LanguageRow{"ky", 0x0440},
    LanguageRow{"lb", 0x046E},  LanguageRow{"lo", 0x0454},  LanguageRow{"lt", 0x0427},  LanguageRow{"lv", 0x0426},
    LanguageRow{"mi", 0x0481},  LanguageRow{"mk", 0x042F},  LanguageRow{"ml", 0x044C},  LanguageRow{"mn", 0x0450},
    LanguageRow{"mni", 0x0458}, LanguageRow{"moh", 0x047C}, LanguageRow{"mr", 0x044E},  LanguageRow{"ms", 0x043E},
    LanguageRow{"mt", 0x043A},  LanguageRow{"my", 0x0455},  LanguageRow{"nb", 0x0414},  LanguageRow{"ne", 0x0461},
    LanguageRow{"nl", 0x0413},  LanguageRow{"nn", 0x0814},  LanguageRow{"no", 0x0414},  LanguageRow{"nso", 0x046C},
    LanguageRow{"oc", 0x0482},  LanguageRow{"or", 0x0448},  LanguageRow{"pa", 0x0446},  LanguageRow{"pl", 0x0415},
    LanguageRow{"prs", 0x048C}, LanguageRow{"ps", 0x0463},  LanguageRow{"pt", 0x0416},  LanguageRow{"qu", 0x046B},
    LanguageRow{"quc", 0x0486}, LanguageRow{"quz", 0x046B}, LanguageRow{"rm", 0x0417},  LanguageRow{"ro", 0x0418},
    LanguageRow{"ru", 0x0419},  LanguageRow{"rw", 0x0487},  LanguageRow{"sa", 0x044F},  LanguageRow{"sah", 0x0485},
    LanguageRow{"sd", 0x0459},  LanguageRow{"se", 0x043B},  LanguageRow{"si", 0x045B},  LanguageRow{"sk", 0x041B},
    LanguageRow{"sl", 0x0424},  LanguageRow{"sq", 0x041C},  LanguageRow{"sr", 0x0C1A},  LanguageRow{"st", 0x0430},
    LanguageRow{"sv", 0x041D},  LanguageRow{"sw", 0x0441},  LanguageRow{"syr", 0x045A}, LanguageRow{"ta", 0x0449},
    LanguageRow{"te", 0x044A},  LanguageRow{"tg", 0x0428},  LanguageRow{"th", 0x041E},  LanguageRow{"ti", 0x0473},
    LanguageRow{"tk", 0x0442},  LanguageRow{"tl", 0x0464},  LanguageRow{"tn", 0x0432},  LanguageRow{"tr", 0x041F},
    LanguageRow{"tt", 0x0444},  LanguageRow{"tzm", 0x085F}, LanguageRow{"ug", 0x0480},  LanguageRow{"uk", 0x0422},
    LanguageRow{"ur", 0x0420},  LanguageRow{"uz", 0x0443},  LanguageRow{"vi", 0x042A},  LanguageRow{"wo", 0x0488},
    LanguageRow{"xh", 0x0434},  LanguageRow{"yi", 0x043D},  LanguageRow{"yo", 0x046A},  LanguageRow{"zh", 0x0804},
    LanguageRow{"zu", 0x0435},
};

// Serbian and Croatian use the identifiers of the former Serbia and Montenegro (0x081A, 0x0C1A)
// and of Bosnia, which the system's identifier table names by script; the newer per-country ones
// (0x241A, 0x281A, ...) it would only know as Serbian.
constexpr std::array kRegional{
    RegionalRow{"zh", "CN", "", 0x0804},
    RegionalRow{"zh", "SG", "", 0x1004},
    RegionalRow{"zh", "TW", "", 0x0404},
    RegionalRow{"zh", "HK", "", 0x0C04},
    RegionalRow{"zh", "MO", "", 0x1404},
    RegionalRow{"pt", "BR", "", 0x0416},
    RegionalRow{"pt", "PT", "", 0x0816},
    RegionalRow{"sr", "", "latin", 0x081A},
    RegionalRow{"sr", "", "cyrillic", 0x0C1A},
    RegionalRow{"sr", "RS", "", 0x0C1A},
    RegionalRow{"sr", "RS", "latin", 0x081A},
    RegionalRow{"sr", "ME", "", 0x081A},
    RegionalRow{"sr", "BA", "", 0x1C1A},
    RegionalRow{"sr", "BA", "latin", 0x181A},
    RegionalRow{"bs", "", "cyrillic", 0x201A},
    RegionalRow{"hr", "BA", "", 0x101A},
    RegionalRow{"hr", "HR", "", 0x041A},
    RegionalRow{"uz", "", "cyrillic", 0x0843},
    RegionalRow{"az", "", "cyrillic", 0x082C},
    RegionalRow{"ca", "", "valencia", 0x0803},
    RegionalRow{"en", "US", "", 0x0409},
    RegionalRow{"en", "GB", "", 0x0809},
    RegionalRow{"en", "AU", "", 0x0C09},
    RegionalRow{"en", "CA", "", 0x1009},
    RegionalRow{"en", "NZ", "", 0x1409},
    RegionalRow{"en", "IE", "", 0x1809},
    RegionalRow{"en", "ZA", "", 0x1C09},
    RegionalRow{"en", "JM", "", 0x2009},
    RegionalRow{"en", "BZ", "", 0x2809},
    RegionalRow{"en", "TT", "", 0x2C09},
    RegionalRow{"en", "ZW", "", 0x3009},
    RegionalRow{"en", "PH", "", 0x3409},
    RegionalRow{"en", "IN", "", 0x4009},
    RegionalRow{"en", "MY", "", 0x4409},
    RegionalRow{"en", "SG", "", 0x4809},
    RegionalRow{"de", "CH", "", 0x0807},
    RegionalRow{"de", "AT", "", 0x0C07},
    RegionalRow{"de", "LU", "", 0x1007},
    RegionalRow{"de", "LI", "", 0x1407},
    RegionalRow{"fr", "BE", "", 0x080C},
    RegionalRow{"fr", "CA", "", 0x0C0C},
    RegionalRow{"fr", "CH", "", 0x100C},
    RegionalRow{"fr", "LU", "", 0x140C},
    RegionalRow{"fr", "MC", "", 0x180C},
    RegionalRow{"it", "CH", "", 0x0810},
    RegionalRow{"nl", "BE", "", 0x0813},
    RegionalRow{"sv", "FI", "", 0x081D},
    RegionalRow{"ru", "MD", "", 0x0819},
    RegionalRow{"ro", "MD", "", 0x0818},
    RegionalRow{"ms", "BN", "", 0x083E},
    RegionalRow{"bn", "BD", "", 0x0845},
    RegionalRow{"pa", "PK", "", 0x0846},
    RegionalRow{"ta", "LK", "", 0x0849},
    RegionalRow{"ur", "IN", "", 0x0820},
    RegionalRow{"ne", "IN", "", 0x0861},
    RegionalRow{"sd", "PK", "", 0x0859},
    RegionalRow{"mn", "CN", "", 0x0850},
    RegionalRow{"se", "SE", "", 0x083B},
    RegionalRow{"se", "FI", "", 0x0C3B},
    RegionalRow{"es", "MX", "", 0x080A},
    RegionalRow{"es", "GT", "", 0x100A},
    RegionalRow{"es", "CR", "", 0x140A},
    RegionalRow{"es", "PA", "", 0x180A},
    RegionalRow{"es", "DO", "", 0x1C0A},
    RegionalRow{"es", "VE", "", 0x200A},
    RegionalRow{"es", "CO", "", 0x240A},
    RegionalRow{"es", "PE", "", 0x280A},
    RegionalRow{"es", "AR", "", 0x2C0A},
    RegionalRow{"es", "EC", "", 0x300A},
    RegionalRow{"es", "CL", "", 0x340A},
    RegionalRow{"es", "UY", "", 0x380A},
    RegionalRow{"es", "PY", "", 0x3C0A},
    RegionalRow{"es", "BO", "", 0x400A},
    RegionalRow{"es", "SV", "", 0x440A},
    RegionalRow{"es", "HN", "", 0x480A},
    RegionalRow{"es", "NI", "", 0x4C0A},
    RegionalRow{"es", "PR", "", 0x500A},
    RegionalRow{"es", "US", "", 0x540A},
    RegionalRow{"ar", "IQ", "", 0x0801},
    RegionalRow{"ar", "EG", "", 0x0C01},
    RegionalRow{"ar", "LY", "", 0x1001},
    RegionalRow{"ar", "DZ", "", 0x1401},
    RegionalRow{"ar", "MA", "", 0x1801},
    RegionalRow{"ar", "TN", "", 0x1C01},
    RegionalRow{"ar", "OM", "", 0x2001},
    RegionalRow{"ar", "YE", "", 0x2401},
    RegionalRow{"ar", "SY", "", 0x2801},
    RegionalRow{"ar", "JO", "", 0x2C01},
    RegionalRow{"ar", "LB", "", 0x3001},
    RegionalRow{"ar", "KW", "", 0x3401},
    RegionalRow{"ar", "AE", "", 0x3801},
    RegionalRow{"ar", "BH", "", 0x3C01},
    RegionalRow{"ar", "QA", "", 0x4001},
};

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

const RegionalRow* findRegional(std::string_view language, std::string_view territory, std::string_view modifier)
{
    for (const RegionalRow& row : kRegional) {
        if (equalsIgnoringCase(row.language, language) && equalsIgnoringCase(row.territory, territory) &&
            equalsIgnoringCase(row.modifier, modifier))
            return &row;
    }
    return nullptr;
}

}  // namespace

std::uint16_t languageIdOfLocale(std::string_view locale)
{
    std::size_t modifierStart = locale.find('@');
    std::string_view modifier = modifierStart == std::string_view::npos ? std::string_view{} : locale.substr(modifierStart + 1);
    std::string_view name = locale.substr(0, modifierStart);
    name = name.substr(0, name.find('.'));
    std::size_t territoryStart = name.find('_');
    std::string_view language = name.substr(0, territoryStart);
    std::string_view territory = territoryStart == std::string_view::npos ? std::string_view{} : name.substr(territoryStart + 1);

    if (language.empty() || language == "C" || language == "POSIX")
        return kEnglishUnitedStates;
    // Most specific first; a modifier the table does not know (such as "euro") is ignored.
    if (const RegionalRow* row = findRegional(language, territory, modifier))
        return row->id;
    if (!modifier.empty()) {
        if (const RegionalRow* row = findRegional(language, {}, modifier))
            return row->id;
        if (const RegionalRow* row = findRegional(language, territory, {}))
            return row->id;
    }
    for (const LanguageRow& row : kLanguages) {
        if (equalsIgnoringCase(row.language, language))
            return row.id;
    }
    return kUnspecifiedLanguage;
}

}  // namespace s::platform
