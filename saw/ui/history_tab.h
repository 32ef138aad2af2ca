#pragma once
// The "History" tab: the records of the days chosen, newest first (time,
// program, group, length in the cut list's unit, label), each program's
// pieces and boards per day, and "Export CSV…". It shows what the
// workstation's history browser has read; reading more as the operator
// scrolls down is the browser's job, off this thread.
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <cstdint>

#include "saw/ui/window_context.h"

namespace orl {

inline constexpr const char* kHistoryCaption = "History";

class HistoryTab : public QWidget {
  Q_OBJECT

 public:
  HistoryTab(const WindowContext& context, QWidget* parent = nullptr);
  void Render();

  QDateEdit *FromDay, *UntilDay;
  QPushButton* ExportCsv;
  QTableWidget *Records, *Totals;
  QLabel* Status;

 private:
  void BuildRangeRow();
  void BuildTables();
  void RangeEdited();
  void RenderRecords(const HistoryView& view, bool unitChanged);
  void RenderTotals(const HistoryView& view);

  WindowContext context_;
  Workstation& ws_;
  std::uint64_t shownVersion_ = 0;
  bool shownInch_ = false;
  std::int64_t shownNewestSeq_ = -1;
};

}  // namespace orl
