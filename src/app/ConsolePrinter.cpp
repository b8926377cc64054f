#include "app/ConsolePrinter.h"

#include "app/ConsoleText.h"

#include <cerrno>

namespace s::app {

ConsolePrinter::ConsolePrinter(const file::gui::dialogs::fileaccess::KindCaptions& captions, std::FILE* out)
    : m_captions(captions), m_out(out)
{
    m_buffer.reserve(kWriteSize + 4096);
}

void ConsolePrinter::addRow(file::gui::dialogs::fileaccess::Change& change)
{
    appendChangeLine(m_buffer, change, m_captions);
    if (m_buffer.size() >= kWriteSize)
        flush();
}

void ConsolePrinter::addLine(std::string_view line)
{
    m_buffer.append(line);
    m_buffer.push_back('\n');
}

bool ConsolePrinter::flush()
{
    if (m_error != 0) {
        m_buffer.clear();
        return false;
    }
    if (!m_buffer.empty()) {
        errno = 0;
        const std::size_t written = std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_out);
        if (written != m_buffer.size() || std::fflush(m_out) != 0)
            m_error = errno != 0 ? errno : EIO;
        m_buffer.clear();
    }
    return m_error == 0;
}

}  // namespace s::app
