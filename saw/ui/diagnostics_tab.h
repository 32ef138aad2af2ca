#pragma once
// The "Manual Diagnostics" tab: the PLC's inputs, outputs and control
// relays live in `DigIO` (a click on an output or relay switches it), and
// the "Error Log" frame with the communication log and its "Clear".
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>

#include "saw/ui/grid_view.h"
#include "saw/ui/window_context.h"

namespace orl {

inline constexpr const char* kManualDiagnosticsCaption = "Manual Diagnostics";

class DiagnosticsTab : public QWidget {
  Q_OBJECT

 public:
  DiagnosticsTab(const WindowContext& context, QWidget* parent = nullptr);
  void Render();

  GridView* DigIO;
  QGroupBox* FrameCommLog;
  QListWidget* CommLog;
  QPushButton* ClrLog;

 private:
  WindowContext context_;
  Workstation& ws_;
};

}  // namespace orl
