#include "gui/component/Container.h"

#include <algorithm>

namespace s::gui::win {

Container::~Container()
{
    // Children outlive a container that is destroyed outright (not recycled) only as orphans.
    for (IComponent* child : m_children)
        child->setParent(nullptr);
}

IComponent* Container::getChild(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_children.size()))
        return nullptr;
    return m_children[static_cast<std::size_t>(index)];
}

void Container::add(IComponent* child)
{
    if (child == nullptr || child == this || std::find(m_children.begin(), m_children.end(), child) != m_children.end())
        return;
    if (IComponent* previous = child->getParent(); previous != nullptr)
        previous->remove(child, false);
    m_children.push_back(child);
    child->setParent(this);
    if (m_window != nullptr) {
        giveOrigin(*child);
        childAdded(*child);
    }
}

void Container::remove(IComponent* child, bool destroy)
{
    auto it = std::find(m_children.begin(), m_children.end(), child);
    if (it == m_children.end())
        return;
    m_children.erase(it);
    child->setParent(nullptr);
    if (destroy) {
        child->removeAll(true);
        child->recycle();
    }
}

void Container::removeAll(bool destroy)
{
    while (!m_children.empty())
        remove(m_children.back(), destroy);
}

void Container::attachView(Window* window)
{
    Component::attachView(window);
    setAttaching(true);
    for (IComponent* child : m_children) {
        child->setParent(this);
        giveOrigin(*child);
    }
    setAttaching(false);
    childrenAttached();
}

void Container::detachView()
{
    for (IComponent* child : m_children)
        child->detachView();
    Component::detachView();
}

}  // namespace s::gui::win
