#include "saw/ui/program_tab.h"

#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>

#include "saw/ui/widget_sync.h"

namespace orl {
namespace {

constexpr const char* kUnitsCaption = "Units";
constexpr const char* kMetricCaption = "Metric";
constexpr const char* kInchCaption = "Inch";
constexpr const char* kGroovingCaption = "&Grooving";
constexpr const char* kSawStrokeCaption = "Saw S&troke";
constexpr const char* kRemainderCaption = "Re&mainder";
constexpr const char* kClearCaption = "&Clear";
constexpr const char* kSaveCaption = "&Save";
constexpr const char* kImportFrameCaption = "Import";
constexpr const char* kBooksCaption = "Books";
constexpr const char* kProgramsCaption = "Programs";
constexpr const char* kDescriptionCaption = "Description";
constexpr const char* kGroupCaption = "Group:";

// The text box shows plain line ends; the engine keeps CR LF.
QString ShownDescription(const std::string& text) { return Q(text).replace("\r\n", "\n"); }

Qt::CheckState CheckState(int value) {
  return value == 0 ? Qt::Unchecked : value == 1 ? Qt::Checked : Qt::PartiallyChecked;
}

void SyncCheckBox(QCheckBox* box, const CheckBox& state) {
  SyncVisibleEnabled(box, state.visible, state.enabled);
  if (box->checkState() != CheckState(state.value)) {
    const QSignalBlocker blocker(box);
    box->setCheckState(CheckState(state.value));
  }
}

}  // namespace

ProgramTab::ProgramTab(const WindowContext& context, QWidget* parent)
    : QWidget(parent), context_(context), ws_(context.ws) {
  BuildCutList();
  BuildProgramFiles();
  BuildColumnModes();
  BuildImportFrame();
  BuildBooks();
}

void ProgramTab::BuildCutList() {
  auto* model = new GridModel(ws_.cutList().grid, this);
  model->SetEditHandler([this](int row, int column, const std::string& text) {
    context_.Forward([&] { ws_.CutListCellEdited(row, column, text); });
  });
  CutListGrid = new GridView(model, this);
  CutListGrid->setObjectName("CutList");
  CutListGrid->setGeometry(5, 5, 500, 300);
  CutListGrid->setSelectionMode(QAbstractItemView::ContiguousSelection);
  connect(CutListGrid, &GridView::currentCellMoved, this,
          [this](int row, int column) { context_.Forward([&] { ws_.CutListCellMoved(row, column); }); });
  connect(CutListGrid, &GridView::keyPressedInGrid, this, [this] { context_.Forward([&] { ws_.CutListKeyDown(); }); });
  // The columns the operator selects are the groups a run cuts.
  connect(CutListGrid->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    const auto [first, last] = SelectedColumns();
    ws_.CutListSelectionChanged(first, last);
  });

  auto* descLabel = new QLabel(kDescriptionCaption, this);
  descLabel->setGeometry(5, 308, 200, 16);
  Desc = new QPlainTextEdit(this);
  Desc->setObjectName("Desc");
  Desc->setGeometry(5, 325, 300, 85);
  Desc->setTabChangesFocus(true);  // Tab moves on, so the keyboard reaches every control
  connect(Desc, &QPlainTextEdit::textChanged, this,
          [this] { context_.Forward([&] { ws_.DescChanged(Desc->toPlainText().toStdString()); }); });
}

void ProgramTab::BuildProgramFiles() {
  auto* programs = new QLabel(kProgramsCaption, this);
  programs->setGeometry(512, 5, 80, 18);
  DispFName = new QLabel(this);
  DispFName->setObjectName("DispFName");
  DispFName->setGeometry(595, 5, 185, 18);
  DispFName->setStyleSheet("font-weight: bold");
  File1 = new QListWidget(this);
  File1->setObjectName("File1");
  File1->setGeometry(510, 25, 270, 135);
  // By the entry's place in the list: the file's own name, whatever bytes
  // it holds, not the text shown for it.
  const auto open = [this](QListWidgetItem* item) {
    const int row = File1->row(item);
    if (row < 0 || row >= static_cast<int>(ws_.File1().entries.size())) return;
    const std::string name = ws_.File1().entries[row];
    context_.Forward([&] { ws_.ProgramClicked(name); });
    SyncListCurrent(File1, ws_.ShownProgramIndex(), shownProgram_, /*evenIfSeen=*/true);
  };
  connect(File1, &QListWidget::itemClicked, this, open);
  connect(File1, &QListWidget::itemActivated, this, open);
  ClrLst = new QPushButton(kClearCaption, this);
  ClrLst->setObjectName("ClrLst");
  ClrLst->setGeometry(510, 165, 130, 28);
  connect(ClrLst, &QPushButton::clicked, this, [this] { context_.Forward([&] { ws_.ClearClicked(); }); });
  SaveBtn = new QPushButton(kSaveCaption, this);
  SaveBtn->setObjectName("SaveBtn");
  SaveBtn->setGeometry(650, 165, 130, 28);
  connect(SaveBtn, &QPushButton::clicked, this, [this] { context_.Forward([&] { ws_.SaveClicked(); }); });
}

void ProgramTab::BuildColumnModes() {
  UnitFrame = new QGroupBox(kUnitsCaption, this);
  UnitFrame->setObjectName("UnitFrame");
  UnitFrame->setGeometry(510, 198, 270, 48);
  auto* unitLayout = new QHBoxLayout(UnitFrame);
  unitLayout->setContentsMargins(8, 2, 8, 2);
  Units = {new QRadioButton(kMetricCaption, UnitFrame), new QRadioButton(kInchCaption, UnitFrame)};
  for (int i = 0; i < 2; ++i) {
    unitLayout->addWidget(Units[i]);
    connect(Units[i], &QRadioButton::clicked, this, [this, i] { context_.Forward([&] { ws_.UnitsClicked(i); }); });
  }
  Grv = new QCheckBox(kGroovingCaption, this);
  Grv->setGeometry(510, 250, 90, 22);
  Grv->setTristate(true);
  connect(Grv, &QCheckBox::pressed, this, [this] { context_.Forward([&] { ws_.GrvMouseDown(); }); });
  connect(Grv, &QCheckBox::clicked, this, [this] { context_.Forward([&] { ws_.GrvClicked(); }); });
  Stroke = new QCheckBox(kSawStrokeCaption, this);
  Stroke->setGeometry(600, 250, 92, 22);
  connect(Stroke, &QCheckBox::clicked, this, [this] { context_.Forward([&] { ws_.StrokeClicked(); }); });
  Rmdr = new QCheckBox(kRemainderCaption, this);
  Rmdr->setGeometry(692, 250, 92, 22);
  connect(Rmdr, &QCheckBox::clicked, this, [this] { context_.Forward([&] { ws_.RmdrClicked(); }); });
  for (QCheckBox* box : {Grv, Stroke, Rmdr}) box->setObjectName(box->text().remove('&').remove(' '));

  auto* group = new QLabel(kGroupCaption, this);
  group->setGeometry(312, 308, 50, 16);
  CNum = new QLabel(this);
  CNum->setObjectName("CNum");
  CNum->setGeometry(362, 308, 40, 16);
  CNum->setStyleSheet("font-weight: bold");
}

void ProgramTab::BuildImportFrame() {
  ImpFrame = new QGroupBox(kImportFrameCaption, this);
  ImpFrame->setObjectName("ImpFrame");
  ImpFrame->setGeometry(510, 275, 270, 135);
  Preview = new PreviewWidget(ws_.optimizerView().Drawing, ImpFrame);
  Preview->setGeometry(6, 18, 112, 112);
  ImpLab2 = new QLabel(ImpFrame);
  ImpLab2->setGeometry(124, 18, 140, 112);
  ImpLab2->setWordWrap(true);
  ImpLab2->setAlignment(Qt::AlignTop | Qt::AlignLeft);
}

void ProgramTab::BuildBooks() {
  FrameBooks = new QGroupBox(kBooksCaption, this);
  FrameBooks->setObjectName("FrameBooks");
  FrameBooks->setGeometry(310, 325, 195, 85);
  constexpr int kPerRow = 6;
  for (int i = 0; i < BookButtonCount; ++i) {
    Bks[i] = new QRadioButton(FrameBooks);
    Bks[i]->setGeometry(6 + (i % kPerRow) * 31, 18 + (i / kPerRow) * 21, 31, 20);
    connect(Bks[i], &QRadioButton::clicked, this, [this, i] { context_.Forward([&] { ws_.BookClicked(i); }); });
  }
}

void ProgramTab::Render() {
  const orl::CutList& cut = ws_.cutList();
  CutListGrid->Render();
  DropSelectionTheListNoLongerHas();
  ScrollToTheCellBeingCut();
  if (CutListGrid->isEnabled() != cut.gridEnabled) CutListGrid->setEnabled(cut.gridEnabled);
  if (Desc->toPlainText() != ShownDescription(cut.Desc)) {
    const QSignalBlocker blocker(Desc);
    Desc->setPlainText(ShownDescription(cut.Desc));
  }
  SyncControl(Desc, cut.DescBox);
  SyncControl(UnitFrame, cut.UnitFrame);
  for (int i = 0; i < 2; ++i) SyncChecked(Units[i], cut.Units == i);
  SyncCheckBox(Grv, cut.Grv);
  SyncCheckBox(Stroke, cut.Stroke);
  SyncCheckBox(Rmdr, cut.Rmdr);
  SyncText(CNum, cut.CNum);
  SyncText(DispFName, cut.DispFName);
  const bool file1Refilled = SyncList(File1, ws_.File1().entries);
  SyncListCurrent(File1, ws_.ShownProgramIndex(), shownProgram_, file1Refilled);
  if (File1->isEnabled() != ws_.File1().enabled) File1->setEnabled(ws_.File1().enabled);
  SyncControl(ClrLst, cut.ClrLst);
  SyncControl(SaveBtn, cut.SaveBtn);
  RenderImport();
}

// A block of groups belongs to the list it was chosen on: once the engine
// has dropped it (a new list), the view lets it go too.
void ProgramTab::DropSelectionTheListNoLongerHas() {
  if (ws_.cutList().grid.HasBlockSelection()) return;
  const auto [first, last] = SelectedColumns();
  if (last > first) CutListGrid->clearSelection();
}

// The first and last column of the selected cells, counted from 1 (0, 0
// for none).
std::pair<int, int> ProgramTab::SelectedColumns() const {
  int first = 0, last = 0;
  for (const QModelIndex& cell : CutListGrid->selectionModel()->selectedIndexes()) {
    const int column = cell.column() + 1;
    first = first == 0 ? column : std::min(first, column);
    last = std::max(last, column);
  }
  return {first, last};
}

// The operator sees the cell being cut; the cursor stays where it was.
void ProgramTab::ScrollToTheCellBeingCut() {
  const std::pair<int, int> cell{ws_.cutList().HiRow, ws_.cutList().HiCol};
  if (cell == shownHighlight_ || CutListGrid->Editing()) return;
  shownHighlight_ = cell;
  if (cell.first > 0 && cell.second > 0) CutListGrid->scrollTo(CutListGrid->Model()->IndexOf(cell.first, cell.second));
}

void ProgramTab::RenderImport() {
  const OptimizerView& view = ws_.optimizerView();
  SyncVisibleEnabled(ImpFrame, view.ImpFrameVisible, true);
  SyncText(ImpLab2, view.ImpLab2 + "\n\n" + view.LBLPhases);
  Preview->Render(ws_.optimizer().ShownPatternKey + "|" + view.TextShowPh + "|" + std::to_string(view.Drawing.Ops().size()));
  SyncVisibleEnabled(FrameBooks, view.FrameBooksVisible, true);
  for (int i = 0; i < BookButtonCount; ++i) {
    const OptionButton& book = view.Bks[i];
    SyncVisibleEnabled(Bks[i], book.Visible, true);
    if (Bks[i]->text() != Q(book.Caption)) Bks[i]->setText(Q(book.Caption));
    // Option buttons in one frame exclude each other; the engine decides.
    Bks[i]->setAutoExclusive(false);
    SyncChecked(Bks[i], book.Value);
  }
}

}  // namespace orl
