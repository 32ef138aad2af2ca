#include "control_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace queldb::designer {
namespace {

// Drawn rather than loaded, so the plugin needs no image format plugin.
QPixmap DrumPixmap(int side) {
  QPixmap pixmap(side, side);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(side / 32.0, side / 32.0);
  const QRectF top(5, 3, 22, 8);
  const QRectF bottom(5, 21, 22, 8);
  QPainterPath body;
  body.moveTo(top.left(), top.center().y());
  body.lineTo(bottom.left(), bottom.center().y());
  body.arcTo(bottom, 180, 180);
  body.lineTo(top.right(), top.center().y());
  body.arcTo(top, 0, -180);
  painter.setPen(QPen(QColor(0x1f, 0x4e, 0x79), 1.5));
  painter.setBrush(QColor(0x5b, 0x9b, 0xd5));
  painter.drawPath(body);
  painter.setBrush(QColor(0xbd, 0xd7, 0xee));
  painter.drawEllipse(top);
  // Two bands: the rows of the tag table.
  painter.setBrush(Qt::NoBrush);
  painter.drawArc(QRectF(5, 9, 22, 8), 180 * 16, 180 * 16);
  painter.drawArc(QRectF(5, 15, 22, 8), 180 * 16, 180 * 16);
  return pixmap;
}

}  // namespace

QIcon ControlIcon() {
  QIcon icon;
  for (int side : {16, 22, 32, 64}) icon.addPixmap(DrumPixmap(side));
  return icon;
}

}  // namespace queldb::designer
