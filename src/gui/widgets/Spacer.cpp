#include "gui/widgets/Spacer.h"

#include "gui/component/Box.h"

#include <cstring>

namespace s::gui::win {

void Spacer::reset()
{
    resetComponent();
    m_orientation = kHorizontal;
    storeFixedWidth(1);
    storeFixedHeight(1);
}

void Spacer::setOrientation(Orientation orientation)
{
    if (orientation == m_orientation)
        return;
    m_orientation = orientation;
    const int percentWidth = getPercentWidth();
    const int fixedWidth = getFixedWidth();
    const int percentHeight = getPercentHeight();
    const int fixedHeight = getFixedHeight();
    if (percentHeight >= 0)
        storePercentWidth(percentHeight);
    else
        storeFixedWidth(fixedHeight);
    if (percentWidth >= 0)
        storePercentHeight(percentWidth);
    else
        storeFixedHeight(fixedWidth);
    relayoutParent();
}

void Spacer::setPercentWidth(int percent)
{
    storePercentWidth(percent);
    relayoutParent();
}

void Spacer::setPercentHeight(int percent)
{
    storePercentHeight(percent);
    relayoutParent();
}

void Spacer::setFixedWidth(int pixels)
{
    storeFixedWidth(pixels);
    relayoutParent();
}

void Spacer::setFixedHeight(int pixels)
{
    storeFixedHeight(pixels);
    relayoutParent();
}

bool Spacer::flatInParentKind(int kind) const
{
    const IComponent* parent = getParent();
    if (parent == nullptr || std::strcmp(parent->getClassName(), "s_gui_win_Box") != 0)
        return false;
    return static_cast<const Box*>(parent)->getLayoutKind() == kind;
}

int Spacer::getMinWidth() const
{
    return m_orientation == kVertical && flatInParentKind(layout::kHorizontal) ? 0 : Component::getMinWidth();
}

int Spacer::getPreferredWidth() const
{
    return m_orientation == kVertical && flatInParentKind(layout::kHorizontal) ? 0 : Component::getPreferredWidth();
}

int Spacer::getMinHeight() const
{
    return m_orientation == kHorizontal && flatInParentKind(layout::kVertical) ? 0 : Component::getMinHeight();
}

int Spacer::getPreferredHeight() const
{
    return m_orientation == kHorizontal && flatInParentKind(layout::kVertical) ? 0 : Component::getPreferredHeight();
}

Spacer* makeSpacer(int orientation, int size)
{
    Spacer* spacer = thread::take<Spacer>();
    if (orientation == Spacer::kVertical) {
        spacer->setVertical();
        spacer->setFixedHeight(size);
    } else {
        spacer->setHorizontal();
        spacer->setFixedWidth(size);
    }
    return spacer;
}

Spacer* makeSpacerPercent(int percent)
{
    Spacer* spacer = thread::take<Spacer>();
    spacer->setHorizontal();
    spacer->setPercentWidth(percent);
    return spacer;
}

}  // namespace s::gui::win
