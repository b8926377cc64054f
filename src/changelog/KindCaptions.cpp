#include "changelog/KindCaptions.h"

namespace s::file::gui::dialogs::fileaccess {

KindCaptions::KindCaptions(const std::string& created, const std::string& deleted, const std::string& renamed)
    : m_texts{created, deleted, ">", renamed + " -", renamed + " +"}
{
}

const std::string& KindCaptions::changeText(ChangeKind kind) const
{
    static const std::string kNoText;
    const auto index = static_cast<std::size_t>(kind);
    return index < m_texts.size() ? m_texts[index] : kNoText;
}

}  // namespace s::file::gui::dialogs::fileaccess
