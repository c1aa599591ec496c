// kovra: the windowed program.
#include "app/program.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Kovra");
  // The same face everywhere, also where the platform offers no fonts of its own.
  const int id = QFontDatabase::addApplicationFont("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
  if (id >= 0 && QGuiApplication::platformName() == "offscreen")
    QApplication::setFont(QFont(QFontDatabase::applicationFontFamilies(id).value(0), 9));
  // The platform's own dialogs (file selection, printer setup) in Polish when the Qt
  // translations are installed.
  QTranslator qt_texts;
  if (qt_texts.load(QLocale(QLocale::Polish), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qt_texts);
  kovra::app::kovra_program program;
  return program.run(kovra::shell::startup_input::from_process(argc, argv));
}
