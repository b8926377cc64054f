#include "lang/PackLoader.h"

#include "foundation/AsciiCase.h"
#include "xml/Node.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace s::lang {

namespace {

// The decimal value of an "id" whose first character is a digit; digits end at the first
// non-digit, and a value beyond the 32-bit range stays at its largest value.
std::int32_t decimalValue(std::string_view text)
{
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<std::int32_t>::max())
            return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(value);
}

void replaceBarredL(std::string& text)
{
    // U+019A and U+0142 are both two bytes long in UTF-8.
    for (std::size_t at = text.find("\xC6\x9A"); at != std::string::npos; at = text.find("\xC6\x9A", at + 2))
        text.replace(at, 2, "\xC5\x82");
}

class PackReader {
public:
    PackReader(Localizer& localizer, PackReadOptions options) : m_localizer(localizer), m_options(options)
    {
        m_first = localizer.getLanguageCount();
    }

    void readLanguages(const xml::Node& list)
    {
        std::string tag;
        std::string englishName;
        std::string nativeName;
        for (int i = 0; i < list.getChildCount(); ++i) {
            const xml::Node& entry = *list.getChild(i);
            if (!entry.nameEquals("entry"))
                continue;
            entry.getAttributeText(tag, "tagName", "");
            entry.getAttributeText(englishName, "engName", "");
            entry.getAttributeText(nativeName, "trueName", "");
            LangPack* language = thread::take<LangPack>();
            language->setNames(tag, englishName, nativeName);
            m_localizer.appendLanguage(language);
        }
    }

    void readEntries(const xml::Node& list)
    {
        std::string text;
        for (int i = 0; i < list.getChildCount(); ++i) {
            const xml::Node& entry = *list.getChild(i);
            if (entry.nameEquals("entry"))
                readEntry(entry, text);
        }
    }

    std::size_t languagesRead() const { return m_localizer.getLanguageCount() - m_first; }

private:
    void readEntry(const xml::Node& entry, std::string& text)
    {
        std::string_view id = entry.getAttributeRaw("id", "");
        bool numeric = !id.empty() && id[0] >= '0' && id[0] <= '9';
        std::int32_t number = numeric ? decimalValue(id) : 0;

        // The fallback is the first text given to a listed language (English in the shipped
        // pack); an element naming no listed language is skipped altogether.
        std::optional<std::string> fallback;
        for (int i = 0; i < entry.getChildCount(); ++i) {
            const xml::Node& element = *entry.getChild(i);
            LangPack* language = languageTagged(element.name());
            if (language == nullptr)
                continue;
            element.getAttributeText(text, "", "");
            if (!fallback)
                fallback = text;
            append(*language, numeric, number, id, text);
        }
        for (std::size_t at = m_first; at < m_localizer.getLanguageCount(); ++at) {
            LangPack& language = *m_localizer.getLanguage(at);
            bool has = numeric ? language.hasText(number) : language.hasKeyedText(id);
            if (!has)
                append(language, numeric, number, id, fallback ? *fallback : std::string());
        }
    }

    void append(LangPack& language, bool numeric, std::int32_t number, std::string_view key, std::string text)
    {
        if (m_options.replaceBarredL && language.getTag() == "vec")
            replaceBarredL(text);
        if (numeric)
            language.appendText(number, std::move(text));
        else
            language.appendKeyedText(key, std::move(text));
    }

    LangPack* languageTagged(std::string_view name) const
    {
        for (std::size_t at = m_first; at < m_localizer.getLanguageCount(); ++at) {
            LangPack* language = m_localizer.getLanguage(at);
            if (base::equalsIgnoringAsciiCase(language->getTag(), name))
                return language;
        }
        return nullptr;
    }

    Localizer& m_localizer;
    PackReadOptions m_options;
    std::size_t m_first = 0;
};

}  // namespace

std::size_t readLanguagePack(Localizer& localizer, std::string_view pack, PackReadOptions options)
{
    thread::PooledPtr<xml::Node> root(xml::Node::take());
    // A comment before the root element is legal XML; step over it to the root.
    std::size_t offset = 0;
    do {
        root->clear();
        xml::ParseResult result = root->parseUtf8(pack.substr(offset));
        if (result.status == xml::ParseStatus::NoElement || result.offset == 0)
            return 0;
        offset += result.offset;
    } while (root->isComment() && offset < pack.size());

    const xml::Node* languages = root->findChild("languages");
    const xml::Node* entries = root->findChild("entries");
    if (languages == nullptr)
        return 0;
    PackReader reader(localizer, options);
    reader.readLanguages(*languages);
    if (entries != nullptr)
        reader.readEntries(*entries);
    return reader.languagesRead();
}

Localizer* loadLanguagePack(const archive::IArchive& archive, std::string_view typeName, int resourceId)
{
    Localizer* localizer = thread::take<Localizer>();
    std::span<const unsigned char> bytes = archive.readResource(typeName, resourceId);
    readLanguagePack(*localizer, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    localizer->selectLanguageByName(localizer->getSystemLanguageName());
    return localizer;
}

}  // namespace s::lang
