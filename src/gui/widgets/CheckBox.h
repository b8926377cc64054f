#pragma once

#include "foundation/Binders.h"
#include "foundation/ClassPool.h"
#include "foundation/ListenerList.h"
#include "gui/component/DrawerSlot.h"
#include "gui/component/PointerTracker.h"
#include "gui/widgets/Captioned.h"
#include "gui/drawer/ICheckBoxDrawer.h"
#include "gui/text/Font.h"

#include <string>
#include <string_view>

namespace s::gui::win {

// A box with a check mark and a caption. The user's clicks toggle it and tell the checked or
// unchecked listeners; the program's setChecked does not. Its text is shown as it is: an
// ampersand is an ampersand.
class CheckBox final : public Captioned {
public:
    static constexpr int kPoolCapacity = 1000;
    enum Event { kChecked = 1, kUnchecked = 2 };

    CheckBox();
    ~CheckBox() override;

    void setWordWrap(bool on);
    void setFontSizeCode(int code);
    void setTextColour(Colour colour);
    void setBold(bool on);
    const Font& getFont() const { return m_font; }

    void addCheckedListener(events::IEventListener* l) { m_checkedListeners.add(l); }
    void addUncheckedListener(events::IEventListener* l) { m_uncheckedListeners.add(l); }
    bool isChecked() const { return m_checked; }
    // Both change the state without telling the listeners.
    void setChecked(bool on);
    void setCheckedSilently(bool on);
    // Whether the user's changes are told (on after reset).
    void setNotify(bool on) { m_notify = on; }

    // Bindings of other components to the state.
    void enableWhenChecked(events::IBindTarget* target);
    void disableWhenUnchecked(events::IBindTarget* target);
    void enableWhileChecked(events::IBindTarget* target);
    void enableWhenUnchecked(events::IBindTarget* target);
    void disableWhenChecked(events::IBindTarget* target);
    void enableWhileUnchecked(events::IBindTarget* target);

    // Null for the skin's drawer (or the plain look without a skin).
    void setDrawer(drawer::ICheckBoxDrawer* drawer, bool owned);
    drawer::ICheckBoxDrawer* getDrawer() const { return m_drawer.get(); }
    int getMouseState() const { return m_pointer.state(); }

    void resizeWithin(int width, int height) override;
    void setEnabled(bool enabled) override;
    platform::LResult handleMessage(unsigned code, platform::WParam wParam, platform::LParam lParam) override;
    void paint(cairo_t* cr) override;
    void attachedToWindow() override;
    void detachingFromWindow() override;
    void skinChanged() override;

    const char* getClassName() const override { return "s_gui_win_CheckBox"; }
    base::IObject* newInstance() const override { return thread::take<CheckBox>(); }
    void recycle() override { thread::giveBack(this); }
    void reset() override;

protected:
    void captionChanged() override;

private:
    void measure();
    void userToggled();
    void takeSkinDrawer();
    void inheritFromDrawer();

    Font m_font;
    Font m_disabledFont;
    bool m_checked = false;
    bool m_notify = true;
    PointerTracker m_pointer;
    DrawerSlot<drawer::ICheckBoxDrawer> m_drawer;
    events::ListenerList m_checkedListeners;
    events::ListenerList m_uncheckedListeners;
    events::Enabler* m_enablerOnChecked = nullptr;
    events::Enabler* m_enablerOnUnchecked = nullptr;
    events::Disabler* m_disablerOnChecked = nullptr;
    events::Disabler* m_disablerOnUnchecked = nullptr;
};

CheckBox* makeCheckBox(std::string_view text, bool checked);
CheckBox* makeCheckBoxById(int textId, bool checked);

}  // namespace s::gui::win
