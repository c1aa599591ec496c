#include "report/report_gui.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

#include <cstdlib>

namespace kovra::report {

void ensure_gui_application() {
  if (QCoreApplication::instance()) return;
  const char* display = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if (!std::getenv("QT_QPA_PLATFORM") && (!display || !*display) && (!wayland || !*wayland))
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char name[] = "kovra";
  static char* argv[] = {name, nullptr};
  // Lives until the process ends: Qt expects one application object for the whole run.
  static QGuiApplication* app = new QGuiApplication(argc, argv);
  (void)app;
}

wait_cursor::wait_cursor() {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    set_ = true;
  }
}

wait_cursor::~wait_cursor() {
  if (set_) QGuiApplication::restoreOverrideCursor();
}

} // namespace kovra::report
