#include "saw/ui/preview_widget.h"

#include <QPainter>
#include <algorithm>

namespace orl {
namespace {

// As the SVG writer: a mid grey ground so both the black board and the white
// step show, and text sizes as points of a window 500 points across.
const QColor kBackground(0x80, 0x80, 0x80);
constexpr float kPointsPerWindow = 500;

QColor Pen(PenColor color) { return QColor((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF); }

// The logical window, grown to hold every text's corner.
QRectF LogicalBox(const DisplayList& list) {
  QRectF box(0, 0, 1, 1);
  bool windowSeen = false;
  for (const DrawOp& op : list.Ops()) {
    if (const auto* w = std::get_if<draw::Window>(&op)) {
      box = QRectF(w->Left, w->Top, w->Width, w->Height);
      windowSeen = true;
    } else if (const auto* t = std::get_if<draw::Text>(&op); t && windowSeen) {
      box = box.united(QRectF(t->X, t->Y, 0, 0));
    }
  }
  return box;
}

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
  painter.fillRect(rect(), kBackground);
  if (drawing_.Ops().empty()) return;
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF box = LogicalBox(drawing_);
  const double size = std::max(box.width(), box.height());
  const double scale = std::min(width() / box.width(), height() / box.height());
  const QPointF offset((width() - box.width() * scale) / 2, (height() - box.height() * scale) / 2);
  const auto toWidget = [&](float x, float y) {
    return QPointF(offset.x() + (x - box.left()) * scale, offset.y() + (y - box.top()) * scale);
  };
  QColor pen = Pen(PenBlack);
  double fontSize = size / 60;
  for (const DrawOp& op : drawing_.Ops()) {
    if (const auto* p = std::get_if<draw::Pen>(&op)) {
      pen = Pen(p->Color);
    } else if (const auto* s = std::get_if<draw::TextSize>(&op)) {
      fontSize = std::max(size * s->Size / kPointsPerWindow, size / 80);
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
