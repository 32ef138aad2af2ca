#pragma once
// The pattern preview: paints the optimizer's display list, the same list
// the SVG writer draws, scaled to the widget with the board kept square.
#include <QWidget>
#include <string>

#include "saw/optimizer/display_list.h"

namespace orl {

class PreviewWidget : public QWidget {
  Q_OBJECT

 public:
  explicit PreviewWidget(const DisplayList& drawing, QWidget* parent = nullptr);

  // Repaints when `stamp` (what the drawing shows: pattern, step, size)
  // differs from the one painted last, so a quiet tick paints nothing.
  void Render(const std::string& stamp);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const DisplayList& drawing_;
  std::string stamp_;
};

}  // namespace orl
