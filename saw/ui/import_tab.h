#pragma once
// The "Import" tab: the job folders and the optimizer files in them, the
// patterns of the file read, the preview with its labels and parts, the
// cut-sequence step bar, "Show Loaded Pattern", "Load", and what the read
// warned about.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>

#include "saw/ui/preview_widget.h"
#include "saw/ui/window_context.h"

namespace orl {

inline constexpr const char* kImportCaption = "Import";

class ImportTab : public QWidget {
  Q_OBJECT

 public:
  ImportTab(const WindowContext& context, QWidget* parent = nullptr);
  void Render();

  QLabel* Dir1Folder;
  QListWidget* Dir1;
  QPushButton* JobBrs;
  QListWidget *File2, *Pat, *Parts;
  PreviewWidget* Preview;
  QLabel *ImpLab1, *ImpLab2, *LBLPhases, *LBLShowPh;
  QScrollBar* VScrollPH;
  QLineEdit* TextShowPh;
  QCheckBox* ShNxt;
  QPushButton *BtnLdPat, *ImpLoad;
  QListWidget* Warnings;

 private:
  void BuildJobBrowser();
  void BuildPatterns();
  void BuildMetrics();

  WindowContext context_;
  Workstation& ws_;
  int shownOptimizerFile_ = -1;  // the file list's entry last highlighted for the engine
};

}  // namespace orl
