#pragma once

#include "gui/component/Component.h"

#include <vector>

namespace s::gui::win {

// A component with children, which it owns: removing one with destroy empties it and gives it
// back to its pool. Children are painted in order, later ones above earlier ones.
class Container : public Component {
public:
    ~Container() override;

    void add(IComponent* child) override;
    void remove(IComponent* child, bool destroy) override;
    void removeAll(bool destroy) override;
    bool isContainer() const override { return true; }
    int getChildCount() const override { return static_cast<int>(m_children.size()); }
    IComponent* getChild(int index) const override;
    const std::vector<IComponent*>& getChildren() const override { return m_children; }

    void attachView(Window* window) override;
    void detachView() override;

protected:
    // What the container does once a child has joined it while attached.
    virtual void childAdded(IComponent& child) = 0;
    // After the container and its children became part of a window.
    virtual void childrenAttached() = 0;
    // The origin a child is given as it is attached.
    virtual void giveOrigin(IComponent& child) = 0;

    std::vector<IComponent*> m_children;
};

}  // namespace s::gui::win
