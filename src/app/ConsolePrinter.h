#pragma once

#include "changelog/IChangeListView.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace s::file::gui::dialogs::fileaccess {
class KindCaptions;
}

namespace s::app {

// The console's list: a record shown is printed as one line; nothing is kept, so there is
// nothing to hide or sort. Lines are gathered and written in large pieces.
class ConsolePrinter final : public file::gui::dialogs::fileaccess::IChangeListView {
public:
    ConsolePrinter(const file::gui::dialogs::fileaccess::KindCaptions& captions, std::FILE* out);

    void setRedrawSuspended(bool) override {}
    thread::IPoolable* makeRow(file::gui::dialogs::fileaccess::Change&) override { return nullptr; }
    void addRow(file::gui::dialogs::fileaccess::Change& change) override;
    void removeRow(file::gui::dialogs::fileaccess::Change&) override {}
    void sort() override {}

    // A line of its own (with its newline).
    void addLine(std::string_view line);
    // Writes out what is gathered. False once a write has failed; the output is then dropped.
    bool flush();
    // The error number of the failed write, else 0.
    int getError() const { return m_error; }

private:
    static constexpr std::size_t kWriteSize = 64 * 1024;

    const file::gui::dialogs::fileaccess::KindCaptions& m_captions;
    std::FILE* m_out;
    std::string m_buffer;
    int m_error = 0;
};

}  // namespace s::app
