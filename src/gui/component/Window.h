#pragma once

#include "foundation/ClassPool.h"
#include "foundation/ListenerList.h"
#include "gui/component/ComponentRouter.h"
#include "gui/component/Container.h"
#include "gui/win/UIThread.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace s::lang {
class Localizer;
}

namespace s::gui::drawer {
class IWindowDrawer;
class Skinner;
}  // namespace s::gui::drawer

namespace s::gui::win {

// A top-level toolkit window: a native frameless window whose children are windowless
// components. It lays them out (one column unless a layout manager is set), docks a status bar
// at the bottom, paints them (frame by its skin's window drawer), routes every native message to
// them, takes its title from text ids of its localizer and follows its skinner.
//
// A window runs on its own user-interface thread (create) or on the calling one (createIn).
// Its setters, add, remove and show may be called from any thread; they are carried to the
// window's thread. Components attached to it are used on that thread (or through sendMessage).
class Window final : public Container, public platform::IWindowProc, public IUiWindow {
public:
    static constexpr int kPoolCapacity = 8;
    // The largest frame side: larger windows are cut to it (a back buffer this size already
    // takes 256 MiB).
    static constexpr int kMaxSide = 8192;
    enum Event { kLanguageChanged = 20 };

    Window();
    ~Window() override;

    // Starts the window's user-interface thread and makes the frame there, hidden. False (after
    // telling the user when a display was there) when it could not be made.
    bool create(platform::IWindowSystem* system = nullptr);
    // Makes the frame on the calling thread's display.
    bool createIn(platform::Display& display);
    // Null until the frame exists (and on other threads than the window's).
    platform::NativeWindow* getNativeWindow() const { return m_native; }
    platform::WindowId getWindowId() const { return m_windowId.load(); }
    bool isOnOwnThread() const;
    // Runs work on the window's thread and returns when it is done (at once there, or without
    // a frame).
    void runOnThread(const std::function<void()>& work);
    // Blocks until the frame is destroyed (the desktop's close, or the default close).
    void waitUntilFrameDestroyed();

    // Geometry is the frame's, in screen coordinates.
    int getScreenX() const override { return getX(); }
    int getScreenY() const override { return getY(); }
    void setPosition(int x, int y) override;
    void setSize(int width, int height) override;
    void setBounds(int x, int y, int width, int height) override;
    int getInnerWidth() const override;
    int getInnerHeight() const override;
    int getMinWidth() const override;
    int getMinHeight() const override;
    bool isVisible() const override;
    void setVisible(bool show, bool recurse) override;
    // A show command (SW_*) for the frame.
    void show(int showCommand);

    void add(IComponent* child) override;
    void remove(IComponent* child, bool destroy) override;
    void doLayout() override;
    ILayoutManager* getLayoutManager() const override;
    // Not owned; null for the window's own column.
    void setLayoutManager(ILayoutManager* manager);

    // Docked at the bottom, over the children; owned by the window.
    void setStatusBar(IComponent* bar);
    IComponent* getStatusBar() const { return m_statusBar; }

    // Titles and texts of components with text ids come from the localizer from now on and
    // follow its language.
    void bindLocalizer(lang::Localizer* localizer);
    lang::Localizer* getLocalizer() const { return m_localizer; }
    // -1 for none.
    void setTitleTextId(int id);
    void setVersionTextId(int id);
    void setTitle(const std::string& title);
    const std::string& getTitle() const { return m_title; }
    void addLanguageListener(events::IEventListener* listener) { m_languageListeners.add(listener); }

    // The window and its components take their drawers from the skinner's current skin, and
    // new ones whenever it changes.
    void setSkinner(drawer::Skinner* skinner);
    drawer::Skinner* getSkinner() const { return m_skinner; }
    drawer::IWindowDrawer* getWindowDrawer() const { return m_drawer; }

    void setResizable(bool on);
    bool isResizable() const { return m_resizable; }
    // A sunken two-pixel edge inside an unskinned window (on after reset).
    void setClientEdge(bool on);
    bool hasClientEdge() const { return m_clientEdge; }
    // Presses on the window itself (not on a component that takes them) move it.
    void setEasyDrag(bool on);
    bool isEasyDrag() const { return m_easyDrag; }

    // For components.
    ComponentRouter& router() { return m_router; }
    void invalidateRect(const platform::Rect& rect);
    int wheelScrollLines() const;
    // The component that takes a point in window coordinates, null for the window itself.
    IComponent* findComponentAt(platform::Point point, platform::Point* local) const;
    // Every component of the window, children first-to-last and depth first, then the status bar.
    void forEachComponent(const std::function<void(IComponent&)>& visit) const;

    platform::LResult windowProc(platform::NativeWindow& window, unsigned code, platform::WParam wParam,
                                 platform::LParam lParam) override;
    bool createNativeWindows(platform::Display& display) override;
    int onEvent(base::IObject* source, int code) override;
    void paint(cairo_t* cr) override;

    const char* getClassName() const override { return "s_gui_win_Window"; }
    base::IObject* newInstance() const override { return thread::take<Window>(); }
    void recycle() override { thread::giveBack(this); }
    void reset() override;

protected:
    void childAdded(IComponent& child) override;
    void childrenAttached() override {}
    void giveOrigin(IComponent& child) override;
    void geometryApplied(const platform::Rect& before) override;

private:
    int edge() const;
    void updateTitle();
    void applyDrawer();
    void frameBoundsChanged();
    void frameDestroyed();
    void destroyFrame();
    void limitSizing(int edge, platform::Rect* rect) const;
    platform::LResult hitTestFrame(platform::Point client) const;

    ComponentRouter m_router;
    std::unique_ptr<UIThread> m_thread;
    platform::NativeWindow* m_native = nullptr;
    std::atomic<platform::WindowId> m_windowId{0};
    std::thread::id m_threadId;
    bool m_syncingFromFrame = false;
    // The frame's bounds as last reported by the window system.
    platform::Rect m_frameBounds;

    std::mutex m_frameLock;
    std::condition_variable m_frameEnded;
    bool m_frameAlive = false;

    ILayoutManager* m_layoutManager = nullptr;
    int m_layoutDepth = 0;
    IComponent* m_statusBar = nullptr;
    lang::Localizer* m_localizer = nullptr;
    int m_titleTextId = -1;
    int m_versionTextId = -1;
    std::string m_title = "Window";
    drawer::Skinner* m_skinner = nullptr;
    drawer::IWindowDrawer* m_drawer = nullptr;
    bool m_resizable = true;
    bool m_clientEdge = true;
    bool m_easyDrag = false;
    events::ListenerList m_languageListeners;
};

}  // namespace s::gui::win
