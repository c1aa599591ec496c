#pragma once
// Text and fonts need a GUI application object; kovra-cli and the tests have none.
namespace kovra::report {

// Creates a QGuiApplication (on the offscreen platform when no display is set) unless an
// application object exists already. Safe to call any number of times.
void ensure_gui_application();

// Shows the wait cursor while it lives (nothing without a GUI application).
class wait_cursor {
public:
  wait_cursor();
  ~wait_cursor();
  wait_cursor(const wait_cursor&) = delete;
  wait_cursor& operator=(const wait_cursor&) = delete;

private:
  bool set_ = false;
};

} // namespace kovra::report
