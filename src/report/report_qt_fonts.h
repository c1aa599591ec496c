#pragma once
// Fonts, pens and colours of the report tables as Qt objects.
//
// A face that is not installed, or that lacks the Polish letters, is replaced by an
// installed face that has them (Liberation, DejaVu, ...). The choices are cached; the
// cache is process-wide and reset_font_families() clears it for tests.
#include "report/report_tables.h"

#include <QColor>
#include <QFont>
#include <QPen>
#include <QString>

namespace kovra::report {

// The installed family used for a requested face name.
QString resolve_font_family(const std::string& face);
void reset_font_families();

// Font scaled from 96 dpi to the device resolution; in preview 0.9 of that height.
QFont make_qfont(const report_font& font, int dpi_x, int dpi_y, bool preview);
// Pixel height the font gets on a device (also what make_qfont sets).
int scaled_font_height(const report_font& font, int dpi_y, bool preview);

QPen make_qpen(const report_pen& pen);
QColor colour_from_ref(int32_t colour);  // 0x00BBGGRR

} // namespace kovra::report
