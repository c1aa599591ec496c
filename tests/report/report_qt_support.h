#pragma once
// A paint device of a given resolution for recording tests (the GUI application is made first).
#include <QImage>

namespace kovra::test {

QImage& measuring_device(int dpi = 600);

} // namespace kovra::test
