#include "app/ConsoleText.h"

#include "changelog/Change.h"
#include "changelog/ChangeTexts.h"
#include "changelog/KindCaptions.h"

#include <cstdint>

namespace s::app {

namespace {

void appendHexByte(std::string& out, unsigned char byte)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    out += "\\x";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0x0F];
}

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the well-formed UTF-8 sequence at the start of text (2 to 4), or 0.
std::size_t sequenceLength(std::string_view text, std::uint32_t& codePoint)
{
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length = 0;
    std::uint32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (text.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (!isContinuation(byte))
            return 0;
        codePoint = (codePoint << 6) | (byte & 0x3F);
    }
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    return codePoint < minimum || codePoint > 0x10FFFF || surrogate ? 0 : length;
}

}  // namespace

void appendEscaped(std::string& out, std::string_view text)
{
    std::size_t position = 0;
    while (position < text.size()) {
        const auto byte = static_cast<unsigned char>(text[position]);
        if (byte >= 0x20 && byte < 0x7F) {
            if (byte == '\\')
                out += "\\\\";
            else
                out += static_cast<char>(byte);
            ++position;
            continue;
        }
        if (byte == '\t' || byte == '\n') {
            out += byte == '\t' ? "\\t" : "\\n";
            ++position;
            continue;
        }
        std::uint32_t codePoint = 0;
        const std::size_t length = byte >= 0x80 ? sequenceLength(text.substr(position), codePoint) : 0;
        // C1 controls (U+0080 to U+009F) act on terminals like C0 ones.
        if (length == 0 || codePoint < 0xA0) {
            const std::size_t bytes = length == 0 ? 1 : length;
            for (std::size_t i = 0; i < bytes; ++i)
                appendHexByte(out, static_cast<unsigned char>(text[position + i]));
            position += bytes;
            continue;
        }
        out.append(text.substr(position, length));
        position += length;
    }
}

std::string escaped(std::string_view text)
{
    std::string out;
    appendEscaped(out, text);
    return out;
}

void appendChangeLine(std::string& out, const file::gui::dialogs::fileaccess::Change& change,
                      const file::gui::dialogs::fileaccess::KindCaptions& captions)
{
    namespace fa = file::gui::dialogs::fileaccess;
    out += fa::formatTime(change.getTime());
    out += '\t';
    appendEscaped(out, captions.changeText(change.getKind()));
    out += '\t';
    appendEscaped(out, change.getName());
    out += '\t';
    out += fa::formatSize(change.getSize());
    out += '\t';
    appendEscaped(out, change.getFolder());
    out += '\t';
    appendEscaped(out, change.getExtension());
    out += '\n';
}

}  // namespace s::app
