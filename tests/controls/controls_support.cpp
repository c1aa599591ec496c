#include "controls_support.h"

#include "controls/screen_look.h"

#include <QApplication>
#include <QFontDatabase>

#include <gtest/gtest.h>

namespace kovra::controls::test {
namespace {

QString family;

class qt_environment : public ::testing::Environment {
public:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "controls_tests";
    static char* argv[] = {name, nullptr};
    app_ = new QApplication(argc, argv);
    const int id = QFontDatabase::addApplicationFont("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
    QFontDatabase::addApplicationFont("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf");
    QFontDatabase::addApplicationFont("/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf");
    family = id >= 0 ? QFontDatabase::applicationFontFamilies(id).value(0) : QString("DejaVu Sans");
    QApplication::setFont(QFont(family, 8));
    reset_screen_look();
  }
  void TearDown() override {
    delete app_;
    app_ = nullptr;
  }

private:
  QApplication* app_ = nullptr;
};

const auto* registered = ::testing::AddGlobalTestEnvironment(new qt_environment);

} // namespace

QString test_font_family() { return family; }

} // namespace kovra::controls::test
