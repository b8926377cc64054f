#pragma once

#include "foundation/ClassPool.h"
#include "foundation/IEventListener.h"
#include "foundation/IObject.h"
#include "foundation/IPoolable.h"
#include "foundation/ListenerList.h"
#include "gui/drawer/ISkin.h"

#include <string>
#include <string_view>
#include <vector>

namespace s::gui::drawer {

// The skins of a program and the current one. Listeners (windows) are told onEvent(skinner, 0)
// whenever the current skin changes, and take their drawers from the new one. Used on the
// user-interface thread.
class Skinner final : public base::IObject, public thread::IPoolable {
public:
    static constexpr int kPoolCapacity = 4;

    Skinner() { reset(); }
    ~Skinner() override;
    Skinner(const Skinner&) = delete;
    Skinner& operator=(const Skinner&) = delete;

    const std::string& getFamilyName() const { return m_familyName; }
    void setFamilyName(std::string_view name) { m_familyName = std::string(name); }

    // Appends a skin (taking ownership) under its name.
    void addSkin(ISkin* skin);
    std::size_t getSkinCount() const { return m_skins.size(); }
    // Null past the end.
    ISkin* getSkin(std::size_t index) const { return index < m_skins.size() ? m_skins[index] : nullptr; }
    // The names in order.
    const std::vector<std::string>& getSkinNames() const { return m_names; }
    // The index of the skin of exactly that name, or -1.
    int findSkin(std::string_view name) const;

    // The skin of that name, else the first one, becomes current; listeners are told when, and
    // only when, the current skin changes.
    void selectSkin(std::string_view name);
    // The same by index; an index past the end changes nothing.
    void selectSkinByIndex(std::size_t index);
    ISkin* getCurrentSkin() const { return m_current; }
    int getCurrentIndex() const;

    void addListener(gui::events::IEventListener* listener) { m_listeners.add(listener); }
    // A window given back to its pool leaves the list, so it is never told after it is reused.
    void removeListener(gui::events::IEventListener* listener) { m_listeners.remove(listener); }

    const char* getClassName() const override { return "s_gui_drawer_Skinner"; }
    base::IObject* newInstance() const override { return thread::take<Skinner>(); }
    void recycle() override { thread::giveBack(this); }
    // Gives every skin back, empties the lists and names the family "Basic".
    void reset() override;

private:
    void makeCurrent(ISkin* skin);

    std::string m_familyName;
    std::vector<ISkin*> m_skins;
    std::vector<std::string> m_names;
    ISkin* m_current = nullptr;
    gui::events::ListenerList m_listeners;
};

}  // namespace s::gui::drawer
