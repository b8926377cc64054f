#pragma once

#include "foundation/ClassPool.h"
#include "gui/component/IComponent.h"

// Layout algorithms as stateless objects: each runs its algorithm over a container's children
// with zero spacing and left and top alignment, and keeps nothing of what it measured.
namespace s::gui::layout {

// Lines filled left to right and broken where the width ends (the Flow algorithm).
class FlowH final : public ILayoutManager {
public:
    static constexpr int kPoolCapacity = 8;
    void layout(IComponent& container) override;
    static FlowH& shared();
    const char* getClassName() const override { return "s_gui_layout_FlowH"; }
    base::IObject* newInstance() const override { return thread::take<FlowH>(); }
    void recycle() override { thread::giveBack(this); }
    void reset() override {}
};

// One column, top to bottom (the Vertical algorithm).
class Vertical final : public ILayoutManager {
public:
    static constexpr int kPoolCapacity = 8;
    void layout(IComponent& container) override;
    static Vertical& shared();
    const char* getClassName() const override { return "s_gui_layout_Vertical"; }
    base::IObject* newInstance() const override { return thread::take<Vertical>(); }
    void recycle() override { thread::giveBack(this); }
    void reset() override {}
};

// Every visible child over the same area (the Pile algorithm).
class Pile final : public ILayoutManager {
public:
    static constexpr int kPoolCapacity = 8;
    void layout(IComponent& container) override;
    static Pile& shared();
    const char* getClassName() const override { return "s_gui_layout_Pile"; }
    base::IObject* newInstance() const override { return thread::take<Pile>(); }
    void recycle() override { thread::giveBack(this); }
    void reset() override {}
};

}  // namespace s::gui::layout
