#pragma once
// Recorded text on Qt devices: Mazovia bytes to QString, text-format flags to Qt flags,
// and measuring that gives the same layout the replay draws.
#include <QFont>
#include <QFontMetrics>
#include <QPaintDevice>
#include <QSize>
#include <QString>

#include <cstdint>
#include <string_view>

namespace kovra::report {

// Mazovia bytes as text; CR LF and a lone CR become one line feed.
QString mazovia_qstring(std::string_view text);
// Qt alignment and wrapping flags for a recorded format (no-prefix, external leading and
// expanded tabs are always in force at replay).
int qt_text_flags(uint32_t format);
// With the edit-control flag (and word-breaking, not single-line), a word wider than `width`
// is cut where it stops fitting; every other break stays at a word boundary. Otherwise the
// text as it is.
QString break_wide_words(const QFontMetrics& fm, const QString& text, int width, uint32_t format);
// Size of the text laid out in the given width with the given format, on the device.
QSize text_extent(const QFont& font, QPaintDevice* device, const QString& text, int width, uint32_t format);

} // namespace kovra::report
