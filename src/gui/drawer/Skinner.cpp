#include "gui/drawer/Skinner.h"

namespace s::gui::drawer {

Skinner::~Skinner()
{
    reset();
}

void Skinner::reset()
{
    for (ISkin* skin : m_skins)
        skin->recycle();
    m_skins.clear();
    m_names.clear();
    m_current = nullptr;
    m_listeners.clear();
    m_familyName = "Basic";
}

void Skinner::addSkin(ISkin* skin)
{
    if (skin == nullptr)
        return;
    m_skins.push_back(skin);
    m_names.push_back(skin->getName());
}

int Skinner::findSkin(std::string_view name) const
{
    for (std::size_t i = 0; i < m_names.size(); ++i) {
        if (m_names[i] == name)
            return static_cast<int>(i);
    }
    return -1;
}

void Skinner::selectSkin(std::string_view name)
{
    const int index = findSkin(name);
    makeCurrent(getSkin(index < 0 ? 0 : static_cast<std::size_t>(index)));
}

void Skinner::selectSkinByIndex(std::size_t index)
{
    if (index < m_skins.size())
        makeCurrent(m_skins[index]);
}

int Skinner::getCurrentIndex() const
{
    for (std::size_t i = 0; i < m_skins.size(); ++i) {
        if (m_skins[i] == m_current)
            return static_cast<int>(i);
    }
    return -1;
}

void Skinner::makeCurrent(ISkin* skin)
{
    if (skin == nullptr || skin == m_current)
        return;
    m_current = skin;
    m_listeners.fire(this, 0);
}

}  // namespace s::gui::drawer
