#include "gui/text/Font.h"

#include "gui/text/TextEngine.h"

namespace s::gui::win {

int Font::getLineHeight() const
{
    if (m_lineHeight < 0)
        m_lineHeight = text::TextEngine::forThisThread().measure("test", *this, text::Flow::SingleLine, 0).height;
    return m_lineHeight;
}

}  // namespace s::gui::win
