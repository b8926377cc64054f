#pragma once

#include "foundation/IEventListener.h"
#include "gui/component/Box.h"
#include "gui/component/Window.h"
#include "gui/drawer/Skinner.h"
#include "gui/widgets/Button.h"
#include "gui/widgets/CheckBox.h"
#include "gui/widgets/Label.h"

#include <mutex>
#include <string>
#include <utility>
#include <vector>

// A window showing the toolkit's pieces: boxes of every layout kind, labels with effects and a
// link, text, toggle and glyph buttons, check boxes, scripts of the pack and the size grip. The
// tests look at it and drive it; the gallery program shows it.
namespace s::gui::gallery {

class Gallery final : public events::IEventListener {
public:
    explicit Gallery(drawer::Skinner& skinner) : m_skinner(skinner) {}
    ~Gallery() override;
    Gallery(const Gallery&) = delete;
    Gallery& operator=(const Gallery&) = delete;

    // Builds the components and hands them to the window, which may run on another thread.
    void buildInto(win::Window& window);

    // "name:code" for every event of the gallery's widgets, in order; safe from any thread.
    std::vector<std::string> events() const;
    int onEvent(base::IObject* source, int code) override;

    win::Label* title = nullptr;
    win::Label* plain = nullptr;
    win::Label* link = nullptr;
    win::Label* skinName = nullptr;
    win::Button* push = nullptr;
    win::Button* toggle = nullptr;
    win::Button* pushed = nullptr;
    win::Button* repeat = nullptr;
    win::Button* nextSkin = nullptr;
    win::Button* grip = nullptr;
    win::Button* close = nullptr;
    win::CheckBox* check = nullptr;
    win::CheckBox* bound = nullptr;
    win::Box* flow = nullptr;
    win::Box* pile = nullptr;
    win::Box* statusBar = nullptr;

private:
    void name(base::IObject* source, std::string label);

    drawer::Skinner& m_skinner;
    platform::WindowId m_window = 0;
    std::vector<std::pair<base::IObject*, std::string>> m_names;
    mutable std::mutex m_lock;
    std::vector<std::string> m_events;
};

}  // namespace s::gui::gallery
