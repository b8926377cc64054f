#pragma once

#include "foundation/ClassPool.h"
#include "gui/component/Component.h"

namespace s::image {
class Image;
}

namespace s::gui::win {

// Shows one picture of the image library, scaled to the component's size; lets the pointer
// through.
class Image final : public Component {
public:
    static constexpr int kPoolCapacity = 64;

    Image() { reset(); }
    ~Image() override;

    // Owned pictures are given back with the component.
    void setPicture(image::Image* picture, bool owned);
    const image::Image* getPicture() const { return m_picture; }

    int hitTest(platform::Point) const override { return platform::HTTRANSPARENT; }
    void paint(cairo_t* cr) override;

    const char* getClassName() const override { return "s_gui_win_Image"; }
    base::IObject* newInstance() const override { return thread::take<Image>(); }
    void recycle() override { thread::giveBack(this); }
    void reset() override;

private:
    void releasePicture();

    image::Image* m_picture = nullptr;
    bool m_ownsPicture = false;
};

// An image of fixed size 16 by 16 showing the picture (not owned) when one is given.
Image* makeImage(image::Image* picture);

}  // namespace s::gui::win
