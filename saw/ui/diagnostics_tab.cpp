#include "saw/ui/diagnostics_tab.h"

#include <QHeaderView>

#include "saw/ui/widget_sync.h"

namespace orl {
namespace {

constexpr const char* kErrorLogCaption = "Error Log";
constexpr const char* kClearLogCaption = "C&lear";
constexpr int kDigIORowHeight = 40;

}  // namespace

DiagnosticsTab::DiagnosticsTab(const WindowContext& context, QWidget* parent)
    : QWidget(parent), context_(context), ws_(context.ws) {
  DigIO = new GridView(new GridModel(ws_.plc().DigIO, this), this);
  DigIO->setObjectName("DigIO");
  DigIO->SetWidthsFromGrid(false);
  DigIO->setGeometry(5, 5, 500, kDigIORows * kDigIORowHeight + DigIO->horizontalHeader()->sizeHint().height() + 2 * DigIO->frameWidth());
  DigIO->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  DigIO->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  DigIO->verticalHeader()->setDefaultSectionSize(kDigIORowHeight);
  DigIO->setEditTriggers(QAbstractItemView::NoEditTriggers);
  connect(DigIO, &GridView::cellClicked, this,
          [this](int row, int column) { context_.Forward([&] { ws_.DigIOClicked(row, column); }); });

  FrameCommLog = new QGroupBox(kErrorLogCaption, this);
  FrameCommLog->setObjectName("FrameCommLog");
  FrameCommLog->setGeometry(512, 0, 268, 410);
  CommLog = new QListWidget(FrameCommLog);
  CommLog->setObjectName("CommLog");
  CommLog->setGeometry(6, 20, 256, 346);
  ClrLog = new QPushButton(kClearLogCaption, FrameCommLog);
  ClrLog->setObjectName("ClrLog");
  ClrLog->setGeometry(6, 372, 256, 30);
  connect(ClrLog, &QPushButton::clicked, this, [this] { context_.Forward([&] { ws_.ClearLogClicked(); }); });
}

void DiagnosticsTab::Render() {
  DigIO->Render();
  SyncVisibleEnabled(FrameCommLog, ws_.FrameCommLog().visible, true);
  const orl::CommLog& log = ws_.plc().log;
  const std::vector<std::string> lines(log.Lines().begin(), log.Lines().end());
  SyncList(CommLog, lines, log.SelectedLine());
}

}  // namespace orl
