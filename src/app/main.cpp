// kovra: the windowed program.
#include "app/program.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Kovra");
  // The same face everywhere, also where the platform offers no fonts of its own.
  const int id = QFontDatabase::addApplicationFont("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
  if (id >= 0 && QGuiApplication::platformName() == "offscreen")
    QApplication::setFont(QFont(QFontDatabase::applicationFontFamilies(id).value(0), 9));
  kovra::app::kovra_program program;
  return program.run(kovra::shell::startup_input::from_process(argc, argv));
}
