#include "report/report_qt_text.h"

#include "report/text_format.h"
#include "store/codepage.h"

#include <QFontMetrics>

namespace kovra::report {

QString mazovia_qstring(std::string_view text) {
  QString out;
  out.reserve(static_cast<qsizetype>(text.size()));
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    // Stored texts break lines with CR LF (or a lone CR): one line break each.
    if (c == '\r') {
      if (i + 1 >= text.size() || text[i + 1] != '\n') out.append(QChar(u'\n'));
      continue;
    }
    const char32_t cp = store::mazovia_code_point(static_cast<uint8_t>(c));
    out.append(QChar(static_cast<char16_t>(cp)));
  }
  return out;
}

int qt_text_flags(uint32_t format) {
  int flags = Qt::TextExpandTabs;
  if (format & DT_CENTER) flags |= Qt::AlignHCenter;
  else if (format & DT_RIGHT) flags |= Qt::AlignRight;
  else flags |= Qt::AlignLeft;
  if (format & DT_SINGLELINE) {
    flags |= Qt::TextSingleLine;
    if (format & DT_VCENTER) flags |= Qt::AlignVCenter;
    else if (format & DT_BOTTOM) flags |= Qt::AlignBottom;
    else flags |= Qt::AlignTop;
  } else {
    flags |= Qt::AlignTop;
    // Words too wide for the line are cut beforehand (break_wide_words), so breaking stays at
    // word boundaries with or without the edit-control flag.
    if (format & DT_WORDBREAK) flags |= Qt::TextWordWrap;
  }
  if (format & DT_NOCLIP) flags |= Qt::TextDontClip;
  return flags;
}

QString break_wide_words(const QFontMetrics& fm, const QString& text, int width, uint32_t format) {
  if (!(format & DT_EDITCONTROL) || !(format & DT_WORDBREAK) || (format & DT_SINGLELINE)) return text;
  QString out;
  out.reserve(text.size() + 8);
  qsizetype i = 0;
  while (i < text.size()) {
    if (text[i].isSpace()) {
      out.append(text[i++]);
      continue;
    }
    qsizetype j = i;
    while (j < text.size() && !text[j].isSpace()) ++j;
    QString word = text.mid(i, j - i);
    i = j;
    while (fm.horizontalAdvance(word) > width && word.size() > 1) {
      qsizetype fit = 1;  // the longest start that fits, at least one character
      while (fit < word.size() && fm.horizontalAdvance(word.left(fit + 1)) <= width) ++fit;
      out.append(word.left(fit));
      out.append(QChar(u'\n'));
      word.remove(0, fit);
    }
    out.append(word);
  }
  return out;
}

QSize text_extent(const QFont& font, QPaintDevice* device, const QString& text, int width, uint32_t format) {
  if (text.isEmpty()) return {0, 0};
  const QFontMetrics fm = device ? QFontMetrics(font, device) : QFontMetrics(font);
  const int w = width < 1 ? 1 : width;
  const QRect r = fm.boundingRect(QRect(0, 0, w, 1 << 24), qt_text_flags(format), break_wide_words(fm, text, w, format));
  return r.size();
}

} // namespace kovra::report
