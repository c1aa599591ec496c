#include "report/report_qt_fonts.h"

#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QRawFont>

#include <cmath>
#include <map>
#include <mutex>

namespace kovra::report {

namespace {

std::mutex cache_mutex;
std::map<std::string, QString>& family_cache() {
  static std::map<std::string, QString> cache;
  return cache;
}

// ą ę ł ś ż and their capitals' representative: enough to tell a face that has the Polish letters.
bool has_polish_letters(const QString& family) {
  QRawFont raw = QRawFont::fromFont(QFont(family));
  if (!raw.isValid()) return false;
  for (char32_t c : {U'\u0105', U'\u0119', U'\u0142', U'\u015B', U'\u017C', U'\u0141'})
    if (!raw.supportsCharacter(c)) return false;
  return true;
}

bool installed(const QString& family) {
  return QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

// Some systems (the offscreen platform among them) list no fonts at all: add the ones the
// setup installs.
void load_known_font_files() {
  static bool done = false;
  if (done) return;
  done = true;
  if (!QFontDatabase::families().isEmpty()) return;
  for (const char* folder : {"/usr/share/fonts/truetype/liberation", "/usr/share/fonts/truetype/liberation2",
                             "/usr/share/fonts/truetype/dejavu"}) {
    QDir dir(QString::fromLatin1(folder));
    for (const QString& name : dir.entryList({"*.ttf"}, QDir::Files))
      QFontDatabase::addApplicationFont(dir.filePath(name));
  }
}

QString choose_family(const std::string& face) {
  load_known_font_files();
  const QString wanted = QString::fromStdString(face);
  if (!wanted.isEmpty() && installed(wanted) && has_polish_letters(wanted)) return wanted;
  // Metric-compatible stand-ins for the usual Windows faces first.
  std::vector<QString> candidates;
  const QString lower = wanted.toLower();
  if (lower.contains("times") || lower.contains("serif") || lower.contains("roman"))
    candidates = {"Liberation Serif", "DejaVu Serif"};
  else if (lower.contains("courier") || lower.contains("mono") || lower.contains("console"))
    candidates = {"Liberation Mono", "DejaVu Sans Mono"};
  candidates.insert(candidates.end(), {"Liberation Sans", "Arial", "DejaVu Sans", "Noto Sans", "FreeSans"});
  for (const QString& c : candidates)
    if (installed(c) && has_polish_letters(c)) return c;
  for (const QString& family : QFontDatabase::families())
    if (has_polish_letters(family)) return family;
  return wanted;  // nothing better: Qt picks its own substitute
}

} // namespace

QString resolve_font_family(const std::string& face) {
  std::lock_guard lock(cache_mutex);
  auto& cache = family_cache();
  auto it = cache.find(face);
  if (it != cache.end()) return it->second;
  QString family = choose_family(face);
  cache.emplace(face, family);
  return family;
}

void reset_font_families() {
  std::lock_guard lock(cache_mutex);
  family_cache().clear();
}

int scaled_font_height(const report_font& font, int dpi_y, bool preview) {
  double h = std::abs(font.height) * static_cast<double>(dpi_y) / 96.0;
  if (preview) h *= 0.9;
  const int px = static_cast<int>(std::lround(h));
  return px < 1 ? 1 : px;
}

QFont make_qfont(const report_font& font, int dpi_x, int dpi_y, bool preview) {
  QFont f(resolve_font_family(font.face));
  f.setPixelSize(scaled_font_height(font, dpi_y, preview));
  f.setWeight(font.weight >= 600 ? QFont::Bold : QFont::Normal);
  f.setItalic(font.italic);
  f.setUnderline(font.underline);
  f.setStrikeOut(font.strikeout);
  f.setStyleStrategy(QFont::PreferOutline);
  f.setHintingPreference(QFont::PreferNoHinting);
  f.setKerning(false);
  if (font.width > 0) {
    // A requested character width: stretch relative to the face's own average width.
    QFont plain = f;
    const double natural = QFontMetricsF(plain).averageCharWidth();
    const double wanted = font.width * static_cast<double>(dpi_x) / 96.0 * (preview ? 0.9 : 1.0);
    if (natural > 0) f.setStretch(std::clamp(static_cast<int>(std::lround(100.0 * wanted / natural)), 1, 4000));
  }
  return f;
}

QPen make_qpen(const report_pen& pen) {
  QPen p(colour_from_ref(pen.colour));
  p.setWidth(pen.width < 0 ? 0 : pen.width);
  p.setStyle(Qt::SolidLine);
  p.setCapStyle(Qt::FlatCap);
  return p;
}

QColor colour_from_ref(int32_t colour) {
  const auto c = static_cast<uint32_t>(colour);
  return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
}

} // namespace kovra::report
