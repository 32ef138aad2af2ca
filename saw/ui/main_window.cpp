#include "saw/ui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

#include "saw/ui/widget_sync.h"

namespace orl {
namespace {

constexpr const char* kPusherPositionCaption = "Pusher Position";
constexpr const char* kActualCaption = "Actual";
constexpr const char* kTargetCaption = "Target";
constexpr const char* kManualPositionCaption = "Manual Position";
constexpr const char* kTemplateLenCaption = "Te&mplate Len";
constexpr const char* kClampLenCaption = "Clamp L&en";
constexpr const char* kManualMetricCaption = "Metric";
constexpr const char* kManualInchCaption = "Inch";
constexpr const char* kManualGrooveCaption = "Gr&oove";
constexpr const char* kSendCaption = "Sen&d";
constexpr int kTabsHeight = 448;
constexpr int kPusherFrameWidth = 214;
constexpr int kActivityLeft = 4 + kPusherFrameWidth + 6;
constexpr int kManualFrameLeft = kActivityLeft + kActivityWidth + 6;

// A text longer than the room beside the tabs ends in "..."; the whole
// text is the tool tip.
void RenderAlert(QLabel* label, const std::string& text) {
  const QString full = Q(text);
  if (label->toolTip() == full && label->isHidden() == full.isEmpty()) return;
  const int room = label->maximumWidth() - 2 * label->fontMetrics().averageCharWidth() - 12;
  label->setText(label->fontMetrics().elidedText(full, Qt::ElideRight, room));
  label->setToolTip(full);
  label->setVisible(!full.isEmpty());
}

QString ColorStyle(Rgb rgb) { return QString("color: #%1").arg(rgb, 6, 16, QChar('0')); }

}  // namespace

void PlaceMainWindow(QWidget& window) {
  const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->geometry();
  window.move(area.x() + (area.width() - kWindowWidth) / 2,
              area.y() + (area.height() - kWindowHeight) / 2 - kWindowLift);
}

MainWindow::MainWindow(Workstation& workstation, QWidget* parent)
    : QMainWindow(parent), ws(workstation), scan(workstation) {
  setWindowTitle(Q(ws.caption()));
  setFixedSize(kWindowWidth, kWindowHeight);
  auto* central = new QWidget(this);
  setCentralWidget(central);
  const WindowContext context{ws, [this](const std::function<void()>& event) { Forward(event); }};
  SSTab1 = new QTabWidget(central);
  SSTab1->setObjectName("SSTab1");
  SSTab1->setGeometry(4, 4, kWindowWidth - 8, kTabsHeight);
  programTab = new ProgramTab(context);
  importTab = new ImportTab(context);
  parametersTab = new ParametersTab(context);
  diagnosticsTab = new DiagnosticsTab(context);
  historyTab = new HistoryTab(context);
  SSTab1->addTab(programTab, kProgramControlCaption);
  SSTab1->addTab(importTab, kImportCaption);
  SSTab1->addTab(parametersTab, kParametersCaption);
  SSTab1->addTab(diagnosticsTab, kManualDiagnosticsCaption);
  SSTab1->addTab(historyTab, kHistoryCaption);
  connect(SSTab1, &QTabWidget::currentChanged, this, [this](int tab) { Forward([&] { ws.TabClicked(tab); }); });
  BuildPusherPosition();
  BuildManualPosition();
  BuildAlert();
  connect(&scan, &ScanDriver::stateChanged, this, &MainWindow::RenderShown);
  WatchDialogs();
  Render();
}

void MainWindow::BuildPusherPosition() {
  auto* frame = new QGroupBox(kPusherPositionCaption, centralWidget());
  frame->setGeometry(4, kTabsHeight + 8, kPusherFrameWidth, kWindowHeight - kTabsHeight - 14);
  const auto reading = [frame](const char* caption, int y) {
    auto* label = new QLabel(caption, frame);
    label->setGeometry(10, y, 60, 30);
    auto* value = new QLabel(frame);
    value->setGeometry(72, y, kPusherFrameWidth - 82, 30);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value->setStyleSheet("font-size: 20px; font-weight: bold; background: black; color: #00ff00; padding: 0 6px");
    return value;
  };
  POS = reading(kActualCaption, 22);
  POS->setObjectName("POS");
  Target = reading(kTargetCaption, 60);
  Target->setObjectName("Target");
  CmAtvty = new QLabel(centralWidget());
  CmAtvty->setObjectName("CmAtvty");
  CmAtvty->setGeometry(kActivityLeft, kTabsHeight + 20, kActivityWidth, 22);
  CmAtvty->setAlignment(Qt::AlignCenter);
  CmAtvty->setFrameShape(QFrame::Panel);
  CmAtvty->setFrameShadow(QFrame::Sunken);
}

void MainWindow::BuildManualPosition() {
  ManFrame = new QGroupBox(kManualPositionCaption, centralWidget());
  ManFrame->setObjectName("ManFrame");
  ManFrame->setGeometry(kManualFrameLeft, kTabsHeight + 8, kWindowWidth - 4 - kManualFrameLeft,
                       kWindowHeight - kTabsHeight - 14);
  ManPos = new QComboBox(ManFrame);
  ManPos->setObjectName("ManPos");
  ManPos->setEditable(true);
  ManPos->setGeometry(10, 24, 120, 30);
  ManPos->setStyleSheet("font-size: 16px");
  connect(ManPos, &QComboBox::editTextChanged, this,
          [this](const QString& text) { ws.ManualPositionEdited(text.toStdString()); });
  TLen = new QCheckBox(kTemplateLenCaption, ManFrame);
  TLen->setGeometry(140, 22, 120, 22);
  connect(TLen, &QCheckBox::clicked, this, [this](bool on) { Forward([&] { ws.ManualTemplateLengthClicked(on); }); });
  CLen = new QCheckBox(kClampLenCaption, ManFrame);
  CLen->setGeometry(140, 48, 120, 22);
  connect(CLen, &QCheckBox::clicked, this, [this](bool on) { Forward([&] { ws.ManualClampLengthClicked(on); }); });
  MUnits = {new QRadioButton(kManualMetricCaption, ManFrame), new QRadioButton(kManualInchCaption, ManFrame)};
  for (int i = 0; i < 2; ++i) {
    MUnits[i]->setGeometry(262, 22 + 26 * i, 76, 22);
    connect(MUnits[i], &QRadioButton::clicked, this, [this, i] { Forward([&] { ws.ManualUnitsClicked(i); }); });
  }
  ManGrv = new QCheckBox(kManualGrooveCaption, ManFrame);
  ManGrv->setObjectName("ManGrv");
  ManGrv->setGeometry(140, 72, 120, 22);
  connect(ManGrv, &QCheckBox::clicked, this, [this](bool on) { Forward([&] { ws.ManualGrooveClicked(on); }); });
  ManSnd = new QPushButton(kSendCaption, ManFrame);
  ManSnd->setObjectName("ManSnd");
  ManSnd->setGeometry(344, 24, ManFrame->width() - 354, 60);
  connect(ManSnd, &QPushButton::clicked, this, [this] { Forward([&] { ws.ManualSendClicked(); }); });
}

void MainWindow::BuildAlert() {
  PlcAlert = new QLabel(SSTab1);
  PlcAlert->setObjectName("PlcAlert");
  PlcAlert->setMaximumWidth(kAlertMaxWidth);
  PlcAlert->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  PlcAlert->setStyleSheet("color: white; background: #c00000; font-weight: bold; padding: 1px 6px");
  PlcAlert->hide();
  SSTab1->setCornerWidget(PlcAlert, Qt::TopRightCorner);
}

void MainWindow::Forward(const std::function<void()>& event) {
  event();
  Render();
}

void MainWindow::Render() {
  programTab->Render();
  importTab->Render();
  parametersTab->Render();
  diagnosticsTab->Render();
  historyTab->Render();
  RenderBottom();
}

void MainWindow::RenderShown() {
  switch (SSTab1->currentIndex()) {
    case kProgramControlTab: programTab->Render(); break;
    case kImportTab: importTab->Render(); break;
    case kParametersTab: parametersTab->Render(); break;
    case kDiagnosticsTab: diagnosticsTab->Render(); break;
    case kHistoryTab: historyTab->Render(); break;
    default: break;
  }
  RenderBottom();
}

void MainWindow::RenderBottom() {
  const PlcState& plc = ws.plc();
  SyncText(POS, plc.POS);
  SyncText(Target, plc.Target);
  SyncText(CmAtvty, plc.CmAtvty);
  RenderAlert(PlcAlert, plc.Alert);
  SyncControl(ManFrame, ws.ManFrame());
  SyncControl(ManGrv, ws.ManGrv());
  const ManualPosition& manual = plc.manual;
  if (ManPos->currentText() != Q(manual.ManPos)) {
    const QSignalBlocker blocker(ManPos);
    ManPos->setEditText(Q(manual.ManPos));
  }
  const QString style = "font-size: 16px; " + ColorStyle(manual.ManPosColor);
  if (ManPos->styleSheet() != style) ManPos->setStyleSheet(style);
  SyncChecked(TLen, manual.TLen);
  SyncChecked(CLen, manual.CLen);
  SyncChecked(ManGrv, manual.ManGrv);
  for (int i = 0; i < 2; ++i) SyncChecked(MUnits[i], manual.MUnits == i);
}

// An activation of the main window follows its first showing and the
// closing of any of the program's own dialogs (not a message box or the
// file dialog, which are no windows of the program's own).
void MainWindow::WatchDialogs() { qApp->installEventFilter(this); }

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Hide && activatedOnce_ && !ended_) {
    auto* dialog = qobject_cast<QDialog*>(watched);
    if (dialog && dialog->isWindow() && !qobject_cast<QMessageBox*>(dialog) && !qobject_cast<QFileDialog*>(dialog))
      QTimer::singleShot(0, this, [this] { Forward([&] { ws.Activate(); }); });
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (activatedOnce_) return;
  activatedOnce_ = true;
  Forward([&] { ws.Activate(); });
}

void MainWindow::StartTimers() { scan.Start(); }

void MainWindow::BringToFront() {
  setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
}

void MainWindow::EndSequence() {
  if (ended_) return;
  ended_ = true;
  scan.StopScan();
  ws.End();
  scan.StopWorker();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  EndSequence();  // closing is never refused
  event->accept();
  QCoreApplication::quit();
}

}  // namespace orl
