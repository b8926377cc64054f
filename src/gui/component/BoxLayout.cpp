#include "gui/component/BoxLayout.h"

#include "gui/component/Component.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace s::gui::layout {

namespace {

using win::alignOffset;
using win::clampExtent;

// A position from a running 64-bit sum, within what components keep.
int coordinate(std::int64_t value)
{
    return static_cast<int>(std::clamp<std::int64_t>(value, -win::Component::kMaxExtent, win::Component::kMaxExtent));
}

// One axis of the row and column algorithms, so that Vertical is Horizontal with the
// directions exchanged.
struct Axis {
    bool horizontal;
    int min(const IComponent& c) const { return horizontal ? c.getMinWidth() : c.getMinHeight(); }
    int pref(const IComponent& c) const { return horizontal ? c.getPreferredWidth() : c.getPreferredHeight(); }
    int size(const IComponent& c) const { return horizontal ? c.getWidth() : c.getHeight(); }
    int crossMin(const IComponent& c) const { return horizontal ? c.getMinHeight() : c.getMinWidth(); }
    int crossPref(const IComponent& c) const { return horizontal ? c.getPreferredHeight() : c.getPreferredWidth(); }
    int crossSize(const IComponent& c) const { return horizontal ? c.getHeight() : c.getWidth(); }
    // Resizes within (along, cross) in this axis's terms.
    void resize(IComponent& c, int along, int cross) const
    {
        if (horizontal)
            c.resizeWithin(along, cross);
        else
            c.resizeWithin(cross, along);
    }
};

// Suspends the children for the duration of a layout unless the container is suspended itself.
class ChildSuspension {
public:
    ChildSuspension(IComponent& container) : m_container(container), m_active(!container.isLayoutSuspended())
    {
        if (m_active) {
            for (IComponent* child : container.getChildren())
                child->suspendLayout();
        }
    }
    ~ChildSuspension()
    {
        if (!m_active)
            return;
        for (IComponent* child : m_container.getChildren()) {
            child->resumeLayout();
            child->redraw();
        }
    }
    ChildSuspension(const ChildSuspension&) = delete;
    ChildSuspension& operator=(const ChildSuspension&) = delete;

private:
    IComponent& m_container;
    bool m_active;
};

// The sum of extents with a spacing after every entry of positive extent that has a successor.
std::int64_t spacedSum(const std::vector<int>& extents, int spacing)
{
    std::int64_t sum = 0;
    for (std::size_t i = 0; i < extents.size(); ++i) {
        sum += extents[i];
        if (extents[i] > 0 && i + 1 < extents.size())
            sum += spacing;
    }
    return sum;
}

// Horizontal (axis horizontal) and Vertical (axis vertical).
ContentSizes arrangeLine(IComponent& container, const Arrangement& a, const Axis axis)
{
    const std::vector<IComponent*>& children = container.getChildren();
    const int spacing = axis.horizontal ? a.hSpacing : a.vSpacing;
    const int innerAlong = axis.horizontal ? container.getInnerWidth() : container.getInnerHeight();
    const int innerCross = axis.horizontal ? container.getInnerHeight() : container.getInnerWidth();

    // A column's width is fixed first, so that the heights summed are those at that width.
    int crossExtent = 0;
    int largestCrossMin = 0;
    if (!axis.horizontal) {
        for (IComponent* c : children)
            largestCrossMin = std::max(largestCrossMin, axis.crossMin(*c));
        crossExtent = std::max(innerCross, largestCrossMin);
        for (IComponent* c : children)
            axis.resize(*c, 0, crossExtent);
    }

    std::vector<int> mins;
    std::vector<int> prefs;
    mins.reserve(children.size());
    prefs.reserve(children.size());
    for (IComponent* c : children) {
        const int minimum = axis.horizontal ? axis.min(*c) : axis.size(*c);
        mins.push_back(minimum);
        prefs.push_back(std::max(axis.pref(*c), minimum));
    }
    const int minSum = clampExtent(spacedSum(mins, spacing));
    const int prefSum = clampExtent(spacedSum(prefs, spacing));
    const int lineExtent = std::max(innerAlong, minSum);
    int extra = lineExtent - minSum;
    const int cross = axis.horizontal ? 0 : crossExtent;

    int leftover = extra;
    if (extra >= 1 && prefSum > minSum) {
        if (lineExtent >= prefSum) {
            for (std::size_t i = 0; i < children.size(); ++i)
                axis.resize(*children[i], prefs[i], cross);
            leftover = lineExtent - prefSum;
        } else {
            const float ratio = static_cast<float>(extra) / static_cast<float>(prefSum - minSum);
            for (std::size_t i = 0; i < children.size(); ++i) {
                IComponent& c = *children[i];
                if (prefs[i] > mins[i])
                    axis.resize(c, mins[i] + static_cast<int>(static_cast<float>(prefs[i] - mins[i]) * ratio), cross);
                else
                    axis.resize(c, mins[i], cross);
                extra -= axis.size(c) - mins[i];
            }
            // What the truncated shares left goes to the children still short of their
            // preference, in order.
            bool grew = true;
            while (extra > 0 && grew) {
                grew = false;
                for (std::size_t i = 0; i < children.size() && extra > 0; ++i) {
                    IComponent& c = *children[i];
                    const int before = axis.size(c);
                    if (before >= prefs[i])
                        continue;
                    axis.resize(c, before + std::min(extra, prefs[i] - before), cross);
                    const int growth = axis.size(c) - before;
                    extra -= growth;
                    grew = grew || growth > 0;
                }
            }
            leftover = extra;
        }
    } else {
        for (std::size_t i = 0; i < children.size(); ++i)
            axis.resize(*children[i], mins[i], cross);
    }

    int largestCrossPref = 0;
    if (axis.horizontal) {
        for (IComponent* c : children)
            largestCrossMin = std::max(largestCrossMin, axis.crossMin(*c));
        crossExtent = std::max(innerCross, largestCrossMin);
        for (IComponent* c : children)
            axis.resize(*c, axis.size(*c), std::max(axis.crossMin(*c), crossExtent));
    }
    for (IComponent* c : children)
        largestCrossPref = std::max(largestCrossPref, std::max(axis.crossPref(*c), axis.crossMin(*c)));

    std::int64_t along = alignOffset(axis.horizontal ? a.hAlign : a.vAlign, leftover);
    const int crossAlign = axis.horizontal ? a.vAlign : a.hAlign;
    for (IComponent* c : children) {
        const int across = alignOffset(crossAlign, crossExtent - axis.crossSize(*c));
        if (axis.horizontal)
            c->setPosition(coordinate(along), across);
        else
            c->setPosition(across, coordinate(along));
        const int extent = axis.size(*c);
        along += extent + (extent > 0 ? spacing : 0);
    }

    if (axis.horizontal)
        return {minSum, largestCrossMin, prefSum, largestCrossPref};
    return {largestCrossMin, minSum, largestCrossPref, prefSum};
}

ContentSizes arrangeFlow(IComponent& container, const Arrangement& a)
{
    const std::vector<IComponent*>& children = container.getChildren();
    int largestMinWidth = 0;
    for (IComponent* c : children)
        largestMinWidth = std::max(largestMinWidth, c->getMinWidth());
    const int lineWidth = std::max(container.getInnerWidth(), largestMinWidth);

    std::int64_t prefWidth = 0;
    bool spacedBefore = false;
    for (IComponent* c : children) {
        const int minimum = c->getMinWidth();
        prefWidth += std::max(c->getPreferredWidth(), minimum);
        if (c->isShown() && minimum > 0) {
            if (spacedBefore)
                prefWidth += a.hSpacing;
            spacedBefore = true;
        }
    }

    for (IComponent* c : children)
        c->resizeWithin(lineWidth, 0);

    struct Line {
        std::vector<IComponent*> items;
        std::int64_t used = 0;
        int height = 0;
        int prefHeight = 0;
    };
    // Greedy lines with the widths the children have now.
    const auto breakLines = [&] {
        std::vector<Line> lines(1);
        bool earlierVisible = false;
        for (IComponent* c : children) {
            const bool counts = c->isShown() && c->getWidth() > 0;
            int gap = counts && earlierVisible ? a.hSpacing : 0;
            Line* line = &lines.back();
            if (!line->items.empty() && lineWidth - line->used - gap - c->getWidth() < 0) {
                lines.emplace_back();
                line = &lines.back();
                earlierVisible = false;
                gap = 0;
            }
            line->items.push_back(c);
            line->used += gap + c->getWidth();
            line->height = std::max(line->height, c->getHeight());
            line->prefHeight = std::max(line->prefHeight, std::max(c->getPreferredHeight(), c->getHeight()));
            earlierVisible = earlierVisible || counts;
        }
        return lines;
    };

    std::vector<Line> lines = breakLines();
    std::int64_t minTotal = 0;
    std::int64_t prefTotal = 0;
    for (const Line& line : lines) {
        if (minTotal != 0) {
            minTotal += a.vSpacing;
            prefTotal += a.vSpacing;
        }
        minTotal += line.height;
        prefTotal += line.prefHeight;
    }
    const int minHeight = clampExtent(minTotal);
    const int prefHeight = clampExtent(prefTotal);

    int extra = std::max(container.getInnerHeight(), minHeight) - minHeight;
    if (extra > 0 && minHeight < prefHeight) {
        const float ratio = static_cast<float>(extra) / static_cast<float>(prefHeight - minHeight);
        for (Line& line : lines) {
            int tallest = 0;
            for (IComponent* c : line.items) {
                const int preferred = c->getPreferredHeight();
                if (c->getHeight() < preferred) {
                    const int grown = c->getHeight() + static_cast<int>(static_cast<float>(preferred - c->getHeight()) * ratio);
                    c->resizeWithin(lineWidth, grown);
                }
                tallest = std::max(tallest, c->getHeight());
            }
            extra -= tallest - line.height;
        }
    }

    lines = breakLines();
    std::int64_t y = alignOffset(a.vAlign, extra);
    for (const Line& line : lines) {
        std::int64_t x = alignOffset(a.hAlign, coordinate(lineWidth - line.used));
        bool earlierVisible = false;
        for (IComponent* c : line.items) {
            const bool counts = c->isShown() && c->getWidth() > 0;
            if (counts && earlierVisible)
                x += a.hSpacing;
            c->setPosition(coordinate(x), coordinate(y));
            x += c->getWidth();
            earlierVisible = earlierVisible || counts;
        }
        y += line.height + a.vSpacing;
    }
    return {largestMinWidth, minHeight, clampExtent(prefWidth), prefHeight};
}

ContentSizes arrangePile(IComponent& container, const Arrangement& a)
{
    ContentSizes sizes;
    std::vector<IComponent*> shown;
    for (IComponent* c : container.getChildren()) {
        if (!c->isShown())
            continue;
        shown.push_back(c);
        sizes.minWidth = std::max(sizes.minWidth, c->getMinWidth());
        sizes.minHeight = std::max(sizes.minHeight, c->getMinHeight());
        sizes.prefWidth = std::max(sizes.prefWidth, std::max(c->getPreferredWidth(), c->getMinWidth()));
        sizes.prefHeight = std::max(sizes.prefHeight, std::max(c->getPreferredHeight(), c->getMinHeight()));
    }
    const int areaWidth = std::max(container.getInnerWidth(), sizes.minWidth);
    const int areaHeight = std::max(container.getInnerHeight(), sizes.minHeight);
    for (IComponent* c : shown) {
        c->resizeWithin(areaWidth, 0);
        const int preferred = c->getPreferredHeight();
        if (c->getHeight() < preferred)
            c->resizeWithin(c->getWidth(), std::max(preferred, areaHeight));
        c->setPosition(alignOffset(a.hAlign, areaWidth - c->getWidth()), alignOffset(a.vAlign, areaHeight - c->getHeight()));
    }
    return sizes;
}

}  // namespace

ContentSizes arrange(IComponent& container, const Arrangement& arrangement)
{
    Arrangement a = arrangement;
    a.hSpacing = std::max(0, a.hSpacing);
    a.vSpacing = std::max(0, a.vSpacing);
    ChildSuspension suspension(container);
    switch (a.kind) {
    case kHorizontal: return arrangeLine(container, a, Axis{true});
    case kFlow: return arrangeFlow(container, a);
    case kPile: return arrangePile(container, a);
    default: return arrangeLine(container, a, Axis{false});
    }
}

}  // namespace s::gui::layout
