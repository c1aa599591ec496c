#include "report/report_qt_support.h"

#include "report/report_gui.h"

namespace kovra::test {

QImage& measuring_device(int dpi) {
  report::ensure_gui_application();
  static QImage image(8, 8, QImage::Format_RGB32);
  image.setDotsPerMeterX(static_cast<int>(dpi / 0.0254 + 0.5));
  image.setDotsPerMeterY(static_cast<int>(dpi / 0.0254 + 0.5));
  return image;
}

} // namespace kovra::test
