#include "desktop_window.h"

#include "gui/window_wiring.h"

DesktopWindow::DesktopWindow(std::unique_ptr<Preferences> preferences, FileChooser* chooser, Alert* alert)
    : preferences_(std::move(preferences))
    , controller_(PlatformSeams{chooser ? *chooser : chooser_, alert ? *alert : alert_, browser_, *preferences_, jobs_})
{
    attachWindow(window_, controller_);
    controller_.applicationDidFinishLaunching();
    window_.show();
}
