#include "app/ConsoleText.h"

#include "changelog/Change.h"
#include "changelog/ChangeTexts.h"
#include "changelog/KindCaptions.h"
#include "foundation/Utf8.h"

namespace s::app {

namespace {

void appendHexByte(std::string& out, unsigned char byte)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    out += "\\x";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0x0F];
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
        char32_t codePoint = 0;
        const std::size_t length = byte >= 0x80 ? base::decodeUtf8(text, position, codePoint) : 0;
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
