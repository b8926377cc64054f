#pragma once

#include "gui/base/Colour.h"
#include "gui/base/IDrawer.h"
#include "platform/WindowTypes.h"

typedef struct _cairo cairo_t;

// The drawers of the skin's further slots: the colours and measures each skin gives them. The
// widgets that draw with them (scroll bars, lists, menus, the status bar, the counter) add their
// painting here.
namespace s::gui::drawer {

class IScrollBarDrawer : public IDrawer {
public:
    virtual int getThickness() const = 0;
    virtual Colour getColour() const = 0;        // arrows, thumb and lines
    virtual Colour getSecondColour() const = 0;  // the track
};

class IRadioButtonDrawer : public IDrawer {
public:
    virtual Colour getColour() const = 0;
    virtual Colour getTextColour() const = 0;
    virtual Colour getDisabledColour() const = 0;
};

class ISliderDrawer : public IDrawer {
public:
    virtual Colour getColour() const = 0;
    virtual Colour getSecondColour() const = 0;
    virtual Colour getDisabledColour() const = 0;
};

class ICounterDrawer : public IDrawer {
public:
    virtual bool isTransparent() const = 0;
    virtual Colour getBackgroundColour() const = 0;
    virtual Colour getColour1() const = 0;
    virtual Colour getColour2() const = 0;
};

class IListHeaderDrawer : public IDrawer {
public:
    virtual Colour getColour() const = 0;      // frames and lines
    virtual Colour getFillColour() const = 0;  // the strip
    virtual Colour getTextColour() const = 0;
};

class IListBoxDrawer : public IDrawer {
public:
    virtual Colour getRowBackground() const = 0;
    virtual Colour getRowText() const = 0;
    virtual Colour getSelectionColour() const = 0;  // selection band and insertion line
    virtual Colour getSelectedText() const = 0;
    virtual Colour getAlternateRowBackground() const = 0;
};

class IStatusBarDrawer : public IDrawer {
public:
    virtual int getPreferredHeight() const = 0;
    virtual Colour getColour() const = 0;
    virtual void paintBar(cairo_t* cr, const platform::Rect& rect) = 0;
};

class IMenuDrawer : public IDrawer {
public:
    virtual Colour getTextColour() const = 0;
    virtual Colour getHighlightColour() const = 0;
    virtual Colour getHighlightTextColour() const = 0;
};

class IComboDrawer : public IDrawer {
public:
    virtual Colour getTextColour() const = 0;
    virtual Colour getColour() const = 0;
};

class IGroupBoxDrawer : public IDrawer {
public:
    virtual Colour getFrameColour() const = 0;
    virtual Colour getCaptionColour() const = 0;
};

class ITabBoxDrawer : public IDrawer {
public:
    virtual Colour getColour() const = 0;
    virtual Colour getCaptionColour() const = 0;
};

}  // namespace s::gui::drawer
