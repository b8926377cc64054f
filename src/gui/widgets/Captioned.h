#pragma once

#include "gui/component/Component.h"

#include <string>
#include <string_view>

namespace s::gui::win {

// A widget with a caption: a literal text, or a text id whose text comes from the window's
// localizer and follows its language.
class Captioned : public Component {
public:
    void setText(std::string_view text);
    const std::string& getText() const { return m_text; }
    void setTextId(int id);
    int getTextId() const { return m_textId; }

    void languageChanged() override;

protected:
    // After the caption changed: measure and repaint.
    virtual void captionChanged() = 0;
    void resetCaption();

private:
    std::string m_text;
    int m_textId = -1;
};

}  // namespace s::gui::win
