#include "saw/ui/history_tab.h"

#include <QHeaderView>
#include <QScrollBar>

#include "saw/history/history_row_text.h"
#include "saw/ui/widget_sync.h"

namespace orl {
namespace {

constexpr const char* kFromCaption = "&From";
constexpr const char* kUntilCaption = "&To";
constexpr const char* kExportCaption = "&Export CSV…";
constexpr const char* kDateFormat = "yyyy-MM-dd";
const QStringList kRecordColumns = {"Time", "Program", "Group", "Length", "Label"};
const QStringList kTotalColumns = {"Day", "Program", "Pieces", "Boards"};
constexpr int kRecordsWidth = 480;
constexpr int kTabWidth = 776;

QTableWidget* MakeTable(const QStringList& columns, QWidget* parent) {
  auto* table = new QTableWidget(0, columns.size(), parent);
  table->setHorizontalHeaderLabels(columns);
  table->verticalHeader()->setVisible(false);
  table->verticalHeader()->setDefaultSectionSize(22);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // The program's name takes what the fixed columns leave.
  table->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
  return table;
}

void SetRow(QTableWidget* table, int row, const QStringList& texts, const QList<int>& rightAligned) {
  for (int column = 0; column < texts.size(); ++column) {
    auto* item = new QTableWidgetItem(texts[column]);
    if (rightAligned.contains(column)) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    table->setItem(row, column, item);
  }
}

}  // namespace

HistoryTab::HistoryTab(const WindowContext& context, QWidget* parent)
    : QWidget(parent), context_(context), ws_(context.ws) {
  BuildRangeRow();
  BuildTables();
}

void HistoryTab::BuildRangeRow() {
  const auto dayEdit = [this](const char* caption, int left, const char* name) {
    auto* label = new QLabel(caption, this);
    label->setGeometry(left, 10, 40, 24);
    auto* edit = new QDateEdit(QDate::currentDate(), this);
    edit->setObjectName(name);
    edit->setDisplayFormat(kDateFormat);
    edit->setCalendarPopup(true);
    edit->setGeometry(left + 40, 10, 120, 24);
    label->setBuddy(edit);
    connect(edit, &QDateEdit::editingFinished, this, [this] { RangeEdited(); });
    connect(edit, &QDateEdit::dateChanged, this, [this, edit] {
      if (!edit->hasFocus()) RangeEdited();  // a day picked in the calendar
    });
    return edit;
  };
  FromDay = dayEdit(kFromCaption, 8, "FromDay");
  UntilDay = dayEdit(kUntilCaption, 180, "UntilDay");
  ExportCsv = new QPushButton(kExportCaption, this);
  ExportCsv->setObjectName("ExportCsv");
  ExportCsv->setGeometry(kTabWidth - 126, 8, 126, 28);
  connect(ExportCsv, &QPushButton::clicked, this, [this] { context_.Forward([&] { ws_.HistoryExportClicked(); }); });
}

void HistoryTab::BuildTables() {
  Records = MakeTable(kRecordColumns, this);
  Records->setObjectName("Records");
  Records->setGeometry(8, 44, kRecordsWidth, 330);
  const int widths[] = {66, 0, 46, 86, 130};
  for (int column = 0; column < 5; ++column)
    if (widths[column] > 0) Records->setColumnWidth(column, widths[column]);
  connect(Records->verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
    if (value > 0 && value == Records->verticalScrollBar()->maximum()) ws_.HistoryScrolledToEnd();
  });
  Totals = MakeTable(kTotalColumns, this);
  Totals->setObjectName("Totals");
  Totals->setGeometry(kRecordsWidth + 16, 44, kTabWidth - kRecordsWidth - 8, 330);
  const int totalWidths[] = {84, 0, 48, 50};
  for (int column = 0; column < 4; ++column)
    if (totalWidths[column] > 0) Totals->setColumnWidth(column, totalWidths[column]);
  Status = new QLabel(this);
  Status->setObjectName("Status");
  Status->setGeometry(8, 380, kTabWidth - 8, 22);
}

void HistoryTab::RangeEdited() {
  const std::string from = FromDay->date().toString(kDateFormat).toStdString();
  const std::string until = UntilDay->date().toString(kDateFormat).toStdString();
  context_.Forward([&] { ws_.HistoryRangeChosen(from, until); });
}

void HistoryTab::Render() {
  const bool inch = ws_.cutList().InchSelected();
  if (ws_.historyVersion() == shownVersion_ && inch == shownInch_) return;
  const HistoryView view = ws_.historyView();
  const bool unitChanged = inch != shownInch_;
  shownVersion_ = view.version;
  shownInch_ = inch;
  RenderRecords(view, unitChanged);
  RenderTotals(view);
  SyncText(Status, view.status);
}

void HistoryTab::RenderRecords(const HistoryView& view, bool unitChanged) {
  const int decimals = ws_.cutList().PositionDecimals();
  const bool withDate = RowsShowTheirDate(view);
  const int rows = static_cast<int>(view.rows.size());
  const std::int64_t newest = view.rows.empty() ? -1 : view.rows.front().seq;
  // The rows shown keep their place while only a page read as the operator
  // scrolled down was added below them.
  const bool onlyAdded = newest == shownNewestSeq_ && !unitChanged && rows >= Records->rowCount();
  const int first = onlyAdded ? Records->rowCount() : 0;
  shownNewestSeq_ = newest;
  Records->setRowCount(rows);
  for (int row = first; row < rows; ++row) {
    const HistoryRowText text = RowText(view.rows[row], shownInch_, decimals, withDate);
    SetRow(Records, row, {Q(text.time), Q(text.program), Q(text.group), Q(text.length), Q(text.label)}, {2, 3});
  }
}

void HistoryTab::RenderTotals(const HistoryView& view) {
  Totals->setRowCount(static_cast<int>(view.totals.size()));
  for (int row = 0; row < static_cast<int>(view.totals.size()); ++row) {
    const HistoryTotal& total = view.totals[row];
    SetRow(Totals, row,
           {Q(total.day), Q(total.program), QString::number(total.pieces), QString::number(total.boards)}, {2, 3});
  }
}

}  // namespace orl
