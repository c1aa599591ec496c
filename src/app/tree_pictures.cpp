#include "app/tree_pictures.h"

#include <QPainter>
#include <QPixmap>
#include <array>

namespace kovra::app {
namespace {

struct picture_look {
  QColor fill;
  const char* letter;
};

QIcon draw(const picture_look& look) {
  QPixmap pm(16, 16);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(look.fill.darker(160));
  p.setBrush(look.fill);
  p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 3, 3);
  QFont f = p.font();
  f.setPixelSize(10);
  f.setBold(true);
  p.setFont(f);
  p.setPen(Qt::white);
  p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, look.letter);
  return QIcon(pm);
}

} // namespace

QIcon tree_picture(int picture) {
  static const std::array<picture_look, 9> looks{{{QColor(0x30, 0x50, 0xA0), "K"},
                                                  {QColor(0x20, 0x80, 0x60), "R"},
                                                  {QColor(0x60, 0x90, 0x30), "Z"},
                                                  {QColor(0x20, 0x40, 0xC0), "G"},
                                                  {QColor(0xC0, 0x30, 0x30), "E"},
                                                  {QColor(0x70, 0x70, 0x70), "P"},
                                                  {QColor(0x90, 0x60, 0x20), "J"},
                                                  {QColor(0x80, 0x40, 0x90), "U"},
                                                  {QColor(0x40, 0x80, 0x90), "S"}}};
  static std::array<QIcon, 9> icons;
  if (picture < 0 || picture >= int(looks.size())) return {};
  QIcon& icon = icons[std::size_t(picture)];
  if (icon.isNull()) icon = draw(looks[std::size_t(picture)]);
  return icon;
}

} // namespace kovra::app
