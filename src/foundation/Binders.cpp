#include "foundation/Binders.h"

namespace s::gui::events {

int Binder::onEvent(base::IObject* source, int)
{
    if (source != m_source)
        return 0;
    for (IBindTarget* target : m_targets)
        apply(*target);
    return 0;
}

void Binder::reset()
{
    m_source = nullptr;
    m_targets.clear();
}

}  // namespace s::gui::events
