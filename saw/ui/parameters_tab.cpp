#include "saw/ui/parameters_tab.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>

namespace orl {
namespace {

constexpr const char* kMachineParametersCaption = "Machine Parameters (mm)";
constexpr const char* kPathsCaption = "Paths";
constexpr int kEnterKeyCode = 13;
constexpr int kBrowseButtonWidth = 100;

}  // namespace

ParametersTab::ParametersTab(const WindowContext& context, QWidget* parent)
    : QWidget(parent), context_(context), ws_(context.ws) {
  MacPar = MakeGrid(ws_.MacPar(), kMachineParametersCaption, 5, 330);
  MacPar->setObjectName("MacPar");
  MacPar->Model()->SetEditHandler([this](int row, int column, const std::string& text) {
    context_.Forward([&] { ws_.MacParCellEdited(row, column, text); });
  });
  connect(MacPar, &GridView::lostFocus, this, [this] { context_.Forward([&] { ws_.MacParLostFocus(); }); });
  connect(MacPar, &GridView::currentCellMoved, this,
          [this](int row, int column) { context_.Forward([&] { ws_.MacParCellMoved(row, column); }); });

  PthPar = MakeGrid(ws_.PthPar(), kPathsCaption, 185, 775);
  PthPar->Model()->SetEditHandler([this](int row, int column, const std::string& text) {
    context_.Forward([&] { ws_.PthParCellEdited(row, column, text); });
  });
  PthPar->setObjectName("PthPar");
  PthPar->horizontalHeader()->setStretchLastSection(false);
  PthPar->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  PthPar->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Fixed);
  PthPar->setColumnWidth(1, kBrowseButtonWidth);
  connect(PthPar, &GridView::lostFocus, this, [this] { context_.Forward([&] { ws_.PthParLostFocus(); }); });
  connect(PthPar, &GridView::cellClicked, this,
          [this](int row, int column) { context_.Forward([&] { ws_.PthParButtonClicked(row, column); }); });
  connect(PthPar, &GridView::keyPressedInGrid, this, [this](int key) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
      context_.Forward([&] { ws_.PthParKeyPress(kEnterKeyCode); });
  });
  connect(PthPar, &GridView::currentCellMoved, this,
          [this](int row, int column) { context_.Forward([&] { ws_.PthParCellMoved(row, column); }); });
}

GridView* ParametersTab::MakeGrid(const CellGrid& grid, const char* caption, int y, int width) {
  auto* label = new QLabel(caption, this);
  label->setGeometry(5, y, width, 18);
  auto* model = new GridModel(grid, this);
  auto* view = new GridView(model, this);
  view->SetWidthsFromGrid(false);
  // Tall enough for every row, so no scroll bar hides one.
  const int height = view->horizontalHeader()->sizeHint().height() + grid.Rows() * view->verticalHeader()->defaultSectionSize() + 2 * view->frameWidth();
  view->setGeometry(5, y + 20, width, height);
  view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  view->horizontalHeader()->setStretchLastSection(true);
  return view;
}

void ParametersTab::Render() {
  MacPar->Render();
  PthPar->Render();
}

}  // namespace orl
