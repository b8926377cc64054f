#include "xml/Escaping.h"

#include <array>

namespace s::xml {

namespace {

struct Entity {
    std::string_view text;
    char value;
    bool keepsTrailing;  // white space made by it survives the trimming of text
};

constexpr std::array kAttributeEntities{
    Entity{"&amp;", '&', false}, Entity{"&lt;", '<', false}, Entity{"&quot;", '"', false},
    Entity{"&#13;", '\r', false}, Entity{"&#10;", '\n', false},
};

constexpr std::array kTextEntities{
    Entity{"&amp;", '&', false}, Entity{"&lt;", '<', false}, Entity{"&gt;", '>', false},
    Entity{"&#160;", ' ', true}, Entity{"&#13;", '\r', true}, Entity{"&#10;", '\n', true},
};

// The stored form of one character, or empty when the character is kept.
std::string_view attributeEntity(char c)
{
    switch (c) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '"': return "&quot;";
    case '\r': return "&#13;";
    case '\n': return "&#10;";
    default: return {};
    }
}

std::string_view textEntity(char c)
{
    switch (c) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    case '\r': return "&#13;";
    case '\n': return "&#10;";
    case ' ': return "&#160;";
    default: return {};
    }
}

bool isLeadingSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

template <std::size_t N>
const Entity* entityAt(std::string_view stored, std::size_t at, const std::array<Entity, N>& entities)
{
    for (const Entity& entity : entities) {
        if (stored.compare(at, entity.text.size(), entity.text) == 0)
            return &entity;
    }
    return nullptr;
}

// Length of the trailing white space character that ends text[0, size), or 0.
std::size_t trailingSpaceLength(const std::string& text, std::size_t size)
{
    if (size == 0)
        return 0;
    char last = text[size - 1];
    if (last == ' ' || last == '\n' || last == '\t' || last == '\r')
        return 1;
    // U+3000 IDEOGRAPHIC SPACE
    if (size >= 3 && text.compare(size - 3, 3, "\xE3\x80\x80") == 0)
        return 3;
    return 0;
}

}  // namespace

void escapeValue(std::string_view value, ValueKind kind, std::string& out)
{
    auto entityOf = kind == ValueKind::Attribute ? attributeEntity : textEntity;
    std::size_t plainFrom = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        std::string_view entity = entityOf(value[i]);
        if (entity.empty())
            continue;
        out.append(value.substr(plainFrom, i - plainFrom));
        out.append(entity);
        plainFrom = i + 1;
    }
    out.append(value.substr(plainFrom));
}

void unescapeValue(std::string_view stored, ValueKind kind, std::string& out)
{
    const std::size_t start = out.size();
    std::size_t at = 0;
    if (kind == ValueKind::Text) {
        while (at < stored.size() && isLeadingSpace(stored[at]))
            ++at;
    }
    std::size_t kept = start;  // output length after the last white space an entity produced
    while (at < stored.size()) {
        std::size_t amp = stored.find('&', at);
        if (amp == std::string_view::npos) {
            out.append(stored.substr(at));
            break;
        }
        out.append(stored.substr(at, amp - at));
        const Entity* entity = kind == ValueKind::Attribute ? entityAt(stored, amp, kAttributeEntities)
                                                            : entityAt(stored, amp, kTextEntities);
        if (entity == nullptr) {
            out.push_back('&');
            at = amp + 1;
            continue;
        }
        out.push_back(entity->value);
        if (entity->keepsTrailing)
            kept = out.size();
        at = amp + entity->text.size();
    }
    if (kind == ValueKind::Text) {
        std::size_t size = out.size();
        for (std::size_t cut = trailingSpaceLength(out, size); cut != 0 && size - cut >= kept;
             cut = trailingSpaceLength(out, size))
            size -= cut;
        out.resize(size);
    }
}

}  // namespace s::xml
