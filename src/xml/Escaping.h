#pragma once

#include <string>
#include <string_view>

namespace s::xml {

// Values are kept escaped in the tree. The table depends on where the value goes: an attribute
// (non-empty name) or the element's text (the empty name).
enum class ValueKind { Attribute, Text };

inline ValueKind valueKindOf(std::string_view attributeName)
{
    return attributeName.empty() ? ValueKind::Text : ValueKind::Attribute;
}

// Appends the stored form of value.
//   attribute: & < " CR LF become entities, everything else is kept;
//   text:      & < > CR LF become entities and every space becomes "&#160;".
void escapeValue(std::string_view value, ValueKind kind, std::string& out);

// Appends the value that the stored form stands for.
//   attribute: &amp; &lt; &quot; &#13; &#10; are decoded, nothing is trimmed;
//   text:      leading white space is skipped, &amp; &lt; &gt; &#160; (a plain space) &#13;
//              &#10; are decoded, and trailing white space is removed except what an entity
//              produced.
// Any other '&' is copied as it stands.
void unescapeValue(std::string_view stored, ValueKind kind, std::string& out);

}  // namespace s::xml
