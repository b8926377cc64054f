#pragma once

#include <string>
#include <string_view>

namespace s::file::gui::dialogs::fileaccess {
class Change;
class KindCaptions;
}  // namespace s::file::gui::dialogs::fileaccess

namespace s::app {

// Appends text so that it stays on one line of a terminal and can be read back: tab, newline and
// backslash become \t, \n and \\; other control characters (C0, DEL and C1) and bytes that are
// not UTF-8 become \xHH, one per byte.
void appendEscaped(std::string& out, std::string_view text);
std::string escaped(std::string_view text);

// Appends the line of a change: the six cells of its row (Time, Change, File Name, Size,
// Folder, Extension) separated by tabs, and a newline.
void appendChangeLine(std::string& out, const file::gui::dialogs::fileaccess::Change& change,
                      const file::gui::dialogs::fileaccess::KindCaptions& captions);

}  // namespace s::app
