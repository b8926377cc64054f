#pragma once

namespace s::gui::win {

// The drawer a widget paints with: the current skin's drawer of its kind, or one chosen for the
// widget alone (which then stays when the skin changes). An owned drawer goes back to its pool
// when it is replaced or the slot is reset.
template <class D>
class DrawerSlot {
public:
    DrawerSlot() = default;
    ~DrawerSlot() { release(); }
    DrawerSlot(const DrawerSlot&) = delete;
    DrawerSlot& operator=(const DrawerSlot&) = delete;

    D* get() const { return m_drawer; }
    bool isChosen() const { return m_chosen; }

    // Chooses the widget's own drawer (null: follow the skin again); false when it was the drawer
    // in use already.
    bool choose(D* drawer, bool owned)
    {
        if (drawer == m_drawer)
            return false;
        release();
        m_drawer = drawer;
        m_owned = owned && drawer != nullptr;
        m_chosen = drawer != nullptr;
        return true;
    }
    // Takes the skin's drawer unless one was chosen.
    void follow(D* skinDrawer)
    {
        if (m_chosen || skinDrawer == m_drawer)
            return;
        release();
        m_drawer = skinDrawer;
    }
    void reset()
    {
        release();
        m_chosen = false;
    }

private:
    void release()
    {
        if (m_owned && m_drawer != nullptr)
            m_drawer->recycle();
        m_drawer = nullptr;
        m_owned = false;
    }

    D* m_drawer = nullptr;
    bool m_owned = false;
    bool m_chosen = false;
};

}  // namespace s::gui::win
