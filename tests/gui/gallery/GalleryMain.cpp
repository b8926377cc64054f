// Shows the toolkit gallery on the X display; prints the widgets' events as they come.
#include "Gallery.h"
#include "gui/skin/ThinWindow.h"
#include "gui/win/DisplayCheck.h"
#include "platform/x11/X11WindowSystem.h"

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv)
{
    std::string skinName = std::string(s::gui::drawer::skin::kDefaultSkinName);
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--skin") == 0 && i + 1 < argc) {
            skinName = argv[++i];
        } else {
            std::fprintf(stderr, "usage: ostrel_gallery [--skin NAME]\n");
            return 2;
        }
    }
    s::platform::IWindowSystem& system = s::platform::x11::windowSystem();
    if (const int status = s::gui::win::checkDisplay(system, stderr); status != 0)
        return status;

    s::thread::PooledPtr<s::gui::drawer::Skinner> skinner(s::gui::drawer::skin::makeSkinner());
    skinner->selectSkin(skinName);
    s::gui::win::Window* window = s::thread::take<s::gui::win::Window>();
    window->setBounds(100, 80, 720, 440);
    window->setTitle("Ostrel toolkit gallery");
    window->setSkinner(skinner.get());
    if (!window->create(&system))
        return 1;
    s::gui::gallery::Gallery gallery(*skinner);
    gallery.buildInto(*window);
    window->setEasyDrag(true);
    window->show(s::platform::SW_SHOW);
    std::printf("window %lu\n", static_cast<unsigned long>(window->getWindowId()));
    std::fflush(stdout);
    window->waitUntilFrameDestroyed();
    for (const std::string& event : gallery.events())
        std::printf("%s\n", event.c_str());
    window->recycle();
    return 0;
}
