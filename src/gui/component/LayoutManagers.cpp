#include "gui/component/LayoutManagers.h"

#include "gui/component/BoxLayout.h"

namespace s::gui::layout {

void FlowH::layout(IComponent& container)
{
    arrange(container, {kFlow});
}

FlowH& FlowH::shared()
{
    static FlowH manager;
    return manager;
}

void Vertical::layout(IComponent& container)
{
    arrange(container, {kVertical});
}

Vertical& Vertical::shared()
{
    static Vertical manager;
    return manager;
}

void Pile::layout(IComponent& container)
{
    arrange(container, {kPile});
}

Pile& Pile::shared()
{
    static Pile manager;
    return manager;
}

}  // namespace s::gui::layout
