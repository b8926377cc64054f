#pragma once

#include "changelog/ChangeKind.h"

#include <string>

namespace s::file::gui::dialogs::fileaccess {

class Change;

// A record of kind for path, from the Change pool: stamped (takeTimeStamp), split into its parts
// (splitPath; an unsplittable path keeps empty parts), and, for kinds that name a file that is
// there now (created, written, renamed-to), marked as a directory when it is one. Written and
// renamed-to records of files get their size: 0 when the file is gone, -1 when it could not be
// examined. Every other record has size -1.
Change* makeChange(ChangeKind kind, const std::string& path);

}  // namespace s::file::gui::dialogs::fileaccess
