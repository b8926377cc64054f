#pragma once

#include "foundation/ClassPool.h"
#include "gui/component/Component.h"

namespace s::gui::win {

// An empty place of fixed or percentage size. A vertical spacer in a Horizontal box takes no
// width, a horizontal one in a Vertical box no height. It paints nothing and lets the pointer
// through.
class Spacer final : public Component {
public:
    static constexpr int kPoolCapacity = 1000;
    enum Orientation { kHorizontal = 0, kVertical = 1 };

    Spacer() { reset(); }

    // Switching the orientation exchanges the width and height rules.
    void setHorizontal() { setOrientation(kHorizontal); }
    void setVertical() { setOrientation(kVertical); }
    int getOrientation() const { return m_orientation; }
    void setPercentWidth(int percent);
    void setPercentHeight(int percent);
    void setFixedWidth(int pixels);
    void setFixedHeight(int pixels);

    int getMinWidth() const override;
    int getMinHeight() const override;
    int getPreferredWidth() const override;
    int getPreferredHeight() const override;
    int hitTest(platform::Point) const override { return platform::HTTRANSPARENT; }
    void paint(cairo_t*) override {}

    const char* getClassName() const override { return "s_gui_win_Spacer"; }
    base::IObject* newInstance() const override { return thread::take<Spacer>(); }
    void recycle() override { thread::giveBack(this); }
    void reset() override;

private:
    void setOrientation(Orientation orientation);
    // Whether the parent is a box whose kind runs across this spacer.
    bool flatInParentKind(int kind) const;

    Orientation m_orientation = kHorizontal;
};

// Orientation 0: a horizontal spacer of fixed width size; 1: a vertical one of fixed height size.
Spacer* makeSpacer(int orientation, int size);
// A horizontal spacer of the given percentage width.
Spacer* makeSpacerPercent(int percent);

}  // namespace s::gui::win
