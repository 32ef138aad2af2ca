#pragma once
// The "Parameters" tab: the machine parameters `MacPar` and the paths
// `PthPar` with their "Browse..." buttons. Both grids are written to the
// settings file when they lose focus.
#include "saw/ui/grid_view.h"
#include "saw/ui/window_context.h"

namespace orl {

inline constexpr const char* kParametersCaption = "Parameters";

class ParametersTab : public QWidget {
  Q_OBJECT

 public:
  ParametersTab(const WindowContext& context, QWidget* parent = nullptr);
  void Render();

  GridView *MacPar, *PthPar;

 private:
  GridView* MakeGrid(const CellGrid& grid, const char* caption, int y, int width);

  WindowContext context_;
  Workstation& ws_;
};

}  // namespace orl
