#pragma once
// The one QApplication of a benchmark that drives windows: offscreen unless a platform is set.
#include <QApplication>

namespace kovra::bench {

inline QApplication& qt_app() {
  static int argc = 1;
  static char name[] = "kovra_bench";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication a(argc, argv);
  return a;
}

} // namespace kovra::bench
