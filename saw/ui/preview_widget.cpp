#include "saw/ui/preview_widget.h"

#include <QPainter>
#include <algorithm>

#include "saw/optimizer/drawing_frame.h"

namespace orl {
namespace {

QColor ToQColor(PenColor color) { return QColor((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF); }

}  // namespace

PreviewWidget::PreviewWidget(const DisplayList& drawing, QWidget* parent) : QWidget(parent), drawing_(drawing) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PreviewWidget::Render(const std::string& stamp) {
  if (stamp == stamp_) return;
  stamp_ = stamp;
  update();
}

void PreviewWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), ToQColor(kDrawingBackground));
  if (drawing_.Ops().empty()) return;
  painter.setRenderHint(QPainter::Antialiasing);
  const DrawingBounds box = BoundsOf(drawing_);
  const double scale = std::min(width() / box.Width(), height() / box.Height());
  const QPointF offset((width() - box.Width() * scale) / 2, (height() - box.Height() * scale) / 2);
  const auto toWidget = [&](float x, float y) {
    return QPointF(offset.x() + (x - box.left) * scale, offset.y() + (y - box.top) * scale);
  };
  QColor pen = ToQColor(PenBlack);
  double fontSize = DefaultTextSize(box);
  for (const DrawOp& op : drawing_.Ops()) {
    if (const auto* p = std::get_if<draw::Pen>(&op)) {
      pen = ToQColor(p->Color);
    } else if (const auto* s = std::get_if<draw::TextSize>(&op)) {
      fontSize = TextSizeFor(box, s->Size);
    } else if (const auto* t = std::get_if<draw::Text>(&op)) {
      QFont font = painter.font();
      font.setPixelSize(std::max(8, static_cast<int>(fontSize * scale)));
      painter.setFont(font);
      painter.setPen(pen);
      // The position is the text's top left corner; the font may be drawn
      // larger than the drawing asks, so the baseline comes from the font.
      const QPointF topLeft = toWidget(t->X, t->Y);
      painter.drawText(QPointF(topLeft.x(), topLeft.y() + QFontMetricsF(font).ascent()), QString::fromStdString(t->Value));
    } else if (const auto* l = std::get_if<draw::Line>(&op)) {
      painter.setPen(QPen(pen, 1));
      painter.drawLine(toWidget(l->X1, l->Y1), toWidget(l->X2, l->Y2));
    } else if (const auto* r = std::get_if<draw::Rectangle>(&op)) {
      painter.setPen(QPen(pen, 1));
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(QRectF(toWidget(r->X1, r->Y1), toWidget(r->X2, r->Y2)).normalized());
    }
  }
}

}  // namespace orl
