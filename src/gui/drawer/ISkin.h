#pragma once

#include "foundation/IObject.h"
#include "foundation/IPoolable.h"
#include "gui/drawer/IButtonDrawer.h"
#include "gui/drawer/ICheckBoxDrawer.h"
#include "gui/drawer/IWindowDrawer.h"
#include "gui/drawer/WidgetDrawers.h"
#include "gui/text/ITextDrawer.h"

#include <string>
#include <string_view>

namespace s::gui::drawer {

// A look: a name and one drawer per kind of widget. A skin owns its drawers; setting a drawer
// gives the previous one of that slot back to its pool.
class ISkin : public base::IObject, public thread::IPoolable {
public:
    virtual const std::string& getName() const = 0;
    virtual void setName(std::string_view name) = 0;

    virtual IWindowDrawer* getWindowDrawer() const = 0;
    virtual void setWindowDrawer(IWindowDrawer* drawer) = 0;
    virtual IButtonDrawer* getButtonDrawer() const = 0;
    virtual void setButtonDrawer(IButtonDrawer* drawer) = 0;
    virtual ITextDrawer* getTextDrawer() const = 0;
    virtual void setTextDrawer(ITextDrawer* drawer) = 0;
    virtual IScrollBarDrawer* getScrollBarDrawer() const = 0;
    virtual void setScrollBarDrawer(IScrollBarDrawer* drawer) = 0;
    virtual ICheckBoxDrawer* getCheckBoxDrawer() const = 0;
    virtual void setCheckBoxDrawer(ICheckBoxDrawer* drawer) = 0;
    virtual IRadioButtonDrawer* getRadioButtonDrawer() const = 0;
    virtual void setRadioButtonDrawer(IRadioButtonDrawer* drawer) = 0;
    virtual ISliderDrawer* getSliderDrawer() const = 0;
    virtual void setSliderDrawer(ISliderDrawer* drawer) = 0;
    virtual ICounterDrawer* getCounterDrawer() const = 0;
    virtual void setCounterDrawer(ICounterDrawer* drawer) = 0;
    virtual IListHeaderDrawer* getListHeaderDrawer() const = 0;
    virtual void setListHeaderDrawer(IListHeaderDrawer* drawer) = 0;
    virtual IListBoxDrawer* getListBoxDrawer() const = 0;
    virtual void setListBoxDrawer(IListBoxDrawer* drawer) = 0;
    virtual IStatusBarDrawer* getStatusBarDrawer() const = 0;
    virtual void setStatusBarDrawer(IStatusBarDrawer* drawer) = 0;
    virtual IMenuDrawer* getMenuDrawer() const = 0;
    virtual void setMenuDrawer(IMenuDrawer* drawer) = 0;
    virtual IComboDrawer* getComboDrawer() const = 0;
    virtual void setComboDrawer(IComboDrawer* drawer) = 0;
    virtual IGroupBoxDrawer* getGroupBoxDrawer() const = 0;
    virtual void setGroupBoxDrawer(IGroupBoxDrawer* drawer) = 0;
    virtual ITabBoxDrawer* getTabBoxDrawer() const = 0;
    virtual void setTabBoxDrawer(ITabBoxDrawer* drawer) = 0;
};

}  // namespace s::gui::drawer
