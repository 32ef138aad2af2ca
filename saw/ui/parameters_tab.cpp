#include "saw/ui/parameters_tab.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>

namespace orl {
namespace {

constexpr const char* kMachineParametersCaption = "Machine Parameters (mm)";
constexpr const char* kPathsCaption = "Paths";
constexpr int kEnterKeyCode = 13;

}  // namespace

ParametersTab::ParametersTab(const WindowContext& context, QWidget* parent)
    : QWidget(parent), context_(context), ws_(context.ws) {
  MacPar = MakeGrid(ws_.MacPar, kMachineParametersCaption, 5, 330, 150);
  MacPar->setObjectName("MacPar");
  connect(MacPar, &GridView::lostFocus, this, [this] { context_.Forward([&] { ws_.MacParLostFocus(); }); });

  PthPar = MakeGrid(ws_.PthPar, kPathsCaption, 185, 775, 130);
  PthPar->setObjectName("PthPar");
  PthPar->horizontalHeader()->setStretchLastSection(false);
  PthPar->setColumnWidth(0, 620);
  PthPar->setColumnWidth(1, 100);
  connect(PthPar, &GridView::lostFocus, this, [this] { context_.Forward([&] { ws_.PthParLostFocus(); }); });
  connect(PthPar, &GridView::cellClicked, this,
          [this](int row, int column) { context_.Forward([&] { ws_.PthParButtonClicked(row, column); }); });
  connect(PthPar, &GridView::keyPressedInGrid, this, [this](int key) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
      context_.Forward([&] { ws_.PthParKeyPress(kEnterKeyCode); });
  });
  connect(PthPar, &GridView::currentCellMoved, this,
          [this](int row, int column) { ws_.PthPar.SetActiveCell(row, column); });
}

GridView* ParametersTab::MakeGrid(CellGrid& grid, const char* caption, int y, int width, int height) {
  auto* label = new QLabel(caption, this);
  label->setGeometry(5, y, width, 18);
  auto* model = new GridModel(grid, this);
  model->SetEditHandler([this, &grid](int row, int column, const std::string& text) {
    context_.Forward([&] { grid.SetText(row, column, text); });
  });
  auto* view = new GridView(model, this);
  view->SetWidthsFromGrid(false);
  view->setGeometry(5, y + 20, width, height);
  view->horizontalHeader()->setStretchLastSection(true);
  return view;
}

void ParametersTab::Render() {
  MacPar->Render();
  PthPar->Render();
}

}  // namespace orl
