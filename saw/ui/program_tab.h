#pragma once
// The "Program Control" tab: the cut list with its description, column
// modes and units, the cut-program list with "Clear" and "Save", the import
// frame showing the loaded pattern, and the book buttons.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <array>
#include <utility>

#include "saw/optimizer/optimizer_view.h"
#include "saw/ui/grid_view.h"
#include "saw/ui/preview_widget.h"
#include "saw/ui/window_context.h"

namespace orl {

inline constexpr const char* kProgramControlCaption = "Program Control";

class ProgramTab : public QWidget {
  Q_OBJECT

 public:
  ProgramTab(const WindowContext& context, QWidget* parent = nullptr);
  void Render();

  GridView* CutListGrid;  // the view of the engine's cut list
  QPlainTextEdit* Desc;
  QGroupBox* UnitFrame;
  std::array<QRadioButton*, 2> Units;
  QCheckBox *Grv, *Stroke, *Rmdr;
  QLabel *CNum, *DispFName;
  QListWidget* File1;
  QPushButton *ClrLst, *SaveBtn;
  QGroupBox* ImpFrame;
  PreviewWidget* Preview;
  QLabel* ImpLab2;
  QGroupBox* FrameBooks;
  std::array<QRadioButton*, BookButtonCount> Bks;

 private:
  void BuildCutList();
  void BuildProgramFiles();
  void BuildColumnModes();
  void BuildImportFrame();
  void BuildBooks();
  void RenderImport();
  void DropSelectionTheListNoLongerHas();
  std::pair<int, int> SelectedColumns() const;
  void ScrollToTheCellBeingCut();

  WindowContext context_;
  Workstation& ws_;
  int shownProgram_ = -1;                  // the program list's entry last highlighted for the engine
  std::pair<int, int> shownHighlight_{0, 0};  // the cell being cut last scrolled to
};

}  // namespace orl
