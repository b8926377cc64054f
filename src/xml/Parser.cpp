// The reader: one forward pass over the text, bounded by its end at every step.

#include "xml/Node.h"

#include <cstring>

namespace s::xml {

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

class Reader {
public:
    explicit Reader(std::string_view text) : m_begin(text.data()), m_end(text.data() + text.size()) {}

    ParseResult document(Node& node)
    {
        const char* p = m_begin;
        ParseStatus status = element(node, p, 0);
        return ParseResult{status, static_cast<std::size_t>(p - m_begin), 0};
    }

private:
    const char* find(const char* p, char c) const
    {
        if (p >= m_end)
            return m_end;
        const void* found = std::memchr(p, c, static_cast<std::size_t>(m_end - p));
        return found == nullptr ? m_end : static_cast<const char*>(found);
    }

    const char* findText(const char* p, std::string_view text) const
    {
        while ((p = find(p, text[0])) != m_end) {
            if (static_cast<std::size_t>(m_end - p) < text.size())
                return m_end;
            if (std::memcmp(p, text.data(), text.size()) == 0)
                return p;
            ++p;
        }
        return m_end;
    }

    const char* skipSpace(const char* p) const
    {
        while (p < m_end && isSpace(*p))
            ++p;
        return p;
    }

    // The '?' of a processing instruction (or XML declaration) that starts at the '<' at p, or
    // null. White space may follow the '<', as it may before a name.
    const char* instructionAt(const char* p) const
    {
        const char* mark = skipSpace(p + 1);
        return mark < m_end && *mark == '?' ? mark : nullptr;
    }

    // Moves p past the "?>" that closes the instruction. False when the text ends first.
    bool skipInstruction(const char* question, const char*& p) const
    {
        const char* close = findText(question + 1, "?>");
        if (close == m_end) {
            p = m_end;
            return false;
        }
        p = close + 2;
        return true;
    }

    // Adds the text run starting at p (not '<') up to the next '<' as a text record.
    void textRun(Node& node, const char*& p) const
    {
        const char* close = find(p, '<');
        node.attributes().add({}, std::string_view(p, static_cast<std::size_t>(close - p)));
        p = close;
    }

    // Reads the element that begins at the first '<' at or after p; p ends just after it, or
    // where reading stopped.
    ParseStatus element(Node& node, const char*& p, int depth) const
    {
        for (;;) {
            p = find(p, '<');
            if (p == m_end)
                return ParseStatus::NoElement;
            const char* question = instructionAt(p);
            if (question == nullptr)
                break;
            if (!skipInstruction(question, p))
                return ParseStatus::Truncated;
        }
        if (depth > Node::kMaxDepth)
            return ParseStatus::TooDeep;

        p = skipSpace(p + 1);
        if (p == m_end)
            return ParseStatus::Truncated;
        if (*p == '!') {
            // Every "<!" construct is read as a comment: a name of three characters, then the
            // scan for "-->" from just after them.
            std::size_t nameLength = std::min<std::size_t>(3, static_cast<std::size_t>(m_end - p));
            node.setName(p, static_cast<int>(nameLength));
            const char* close = findText(p + nameLength, "-->");
            if (close == m_end) {
                p = m_end;
                return ParseStatus::Truncated;
            }
            p = close + 3;
            return ParseStatus::Ok;
        }

        const char* name = p;
        while (p < m_end && !isSpace(*p) && *p != '/' && *p != '>')
            ++p;
        node.setName(name, static_cast<int>(p - name));

        if (!attributes(node, p))
            return ParseStatus::Truncated;

        while (p < m_end && *p != '>' && *p != '/')
            ++p;
        if (p == m_end)
            return ParseStatus::Truncated;
        if (*p == '/') {
            p = find(p, '>');
            if (p == m_end)
                return ParseStatus::Truncated;
            ++p;
            return ParseStatus::Ok;
        }

        p = skipSpace(p + 1);
        return content(node, p, depth);
    }

    // Name="value" pairs up to the '>' or '/' that ends the start tag. Values are kept as
    // written; only double quotes delimit them. False when the text ends first.
    bool attributes(Node& node, const char*& p) const
    {
        for (;;) {
            if (p == m_end)
                return false;
            if (*p == '>' || *p == '/')
                return true;
            p = skipSpace(p);
            if (p == m_end)
                return false;
            if (*p == '>' || *p == '/')
                return true;
            const char* name = p;
            while (p < m_end && *p != '=' && *p != ' ')
                ++p;
            const char* nameEnd = p;
            p = find(p, '"');
            if (p == m_end)
                return false;
            const char* value = p + 1;
            p = find(value, '"');
            if (p == m_end)
                return false;
            // A pair without a name is dropped: it would read back as the element's text, where
            // its unescaped '<' and white space do not belong.
            if (nameEnd != name)
                node.attributes().add(std::string_view(name, static_cast<std::size_t>(nameEnd - name)),
                                      std::string_view(value, static_cast<std::size_t>(p - value)));
            ++p;
        }
    }

    // Text runs and children up to the end tag, whose name is not compared.
    ParseStatus content(Node& node, const char*& p, int depth) const
    {
        if (p == m_end)
            return ParseStatus::Truncated;
        if (*p != '<')
            textRun(node, p);
        for (;;) {
            if (p == m_end || p + 1 == m_end) {
                p = m_end;
                return ParseStatus::Truncated;
            }
            if (p[1] == '/') {
                p = find(p, '>');
                if (p == m_end)
                    return ParseStatus::Truncated;
                ++p;
                return ParseStatus::Ok;
            }
            if (const char* question = instructionAt(p)) {
                if (!skipInstruction(question, p))
                    return ParseStatus::Truncated;
            } else {
                Node* child = Node::take();
                ParseStatus status = element(*child, p, depth + 1);
                // A child that was too deep to read at all has no name.
                if (child->isComment() || child->getName() == nullptr)
                    child->recycle();
                else
                    node.appendChild(child);
                if (status != ParseStatus::Ok)
                    return status;
            }
            p = skipSpace(p);
            if (p == m_end)
                return ParseStatus::Truncated;
            if (*p != '<')
                textRun(node, p);
        }
    }

    const char* m_begin;
    const char* m_end;
};

}  // namespace

ParseResult Node::parse(std::string_view text)
{
    return Reader(text).document(*this);
}

ParseResult Node::parseUtf8(std::string_view bytes)
{
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    std::size_t skipped = bytes.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
    ParseResult result = parse(bytes.substr(skipped));
    result.offset += skipped;
    return result;
}

}  // namespace s::xml
