#include "gui/widgets/Captioned.h"

#include "lang/Localizer.h"

namespace s::gui::win {

void Captioned::setText(std::string_view text)
{
    if (text == m_text)
        return;
    m_text = std::string(text);
    captionChanged();
}

void Captioned::setTextId(int id)
{
    m_textId = id;
    languageChanged();
}

void Captioned::languageChanged()
{
    if (lang::Localizer* localizer = windowLocalizer(); localizer != nullptr && m_textId >= 0)
        setText(localizer->getText(m_textId));
}

void Captioned::resetCaption()
{
    m_text.clear();
    m_textId = -1;
}

}  // namespace s::gui::win
