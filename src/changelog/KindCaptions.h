#pragma once

#include "changelog/ChangeKind.h"

#include <array>
#include <string>

namespace s::file::gui::dialogs::fileaccess {

// The Change cell texts of the five kinds, made once from the view's kind captions: created and
// deleted show their captions, written shows ">", the two halves of a rename the rename caption
// followed by " -" and " +".
class KindCaptions {
public:
    KindCaptions(const std::string& created, const std::string& deleted, const std::string& renamed);

    const std::string& changeText(ChangeKind kind) const;

private:
    std::array<std::string, kChangeKindCount> m_texts;
};

}  // namespace s::file::gui::dialogs::fileaccess
