#pragma once
// Text and fonts need a GUI application object; kovra-cli and the tests have none.
namespace kovra::report {

// Creates a QGuiApplication (on the offscreen platform when no display is set) unless an
// application object exists already. Safe to call any number of times.
void ensure_gui_application();

} // namespace kovra::report
