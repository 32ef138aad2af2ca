#pragma once
// The operator's window: five tabs, the "Pusher Position" frame, the
// activity label and the "Manual Position" frame. It renders the
// workstation's state and forwards every event to one workstation method.
// Besides layout it decides one thing only: which closing windows count as
// an activation (the program's own dialogs, not a message box or the file
// dialog), since only Qt knows what a window is.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <array>

#include "saw/ui/diagnostics_tab.h"
#include "saw/ui/history_tab.h"
#include "saw/ui/import_tab.h"
#include "saw/ui/parameters_tab.h"
#include "saw/ui/program_tab.h"
#include "saw/ui/scan_driver.h"

namespace orl {

// 12000 x 8500 twips at 15 twips a pixel.
inline constexpr int kWindowWidth = 800;
inline constexpr int kWindowHeight = 567;
inline constexpr int kWindowLift = 10;  // 150 twips above the centre
// The activity label holds its longest text, "PLC not answering".
inline constexpr int kActivityWidth = 140;
inline constexpr int kAlertMaxWidth = 330;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(Workstation& workstation, QWidget* parent = nullptr);

  // Starts both timers and the PLC worker (the link is open by now).
  void StartTimers();
  // The window is closing, for any reason: no more scan ticks, events run
  // for a second so a transfer under way finishes, the port closes.
  void EndSequence();
  // Everything shown, brought up to the workstation's state.
  void Render();
  // After a timer tick: the tab on show and the frames below the tabs (the
  // other tabs catch up when they are shown or an operator event comes).
  void RenderShown();
  // Restores, raises and activates the window (a second start asked).
  void BringToFront();

  Workstation& ws;
  ScanDriver scan;
  QTabWidget* SSTab1;
  ProgramTab* programTab;
  ImportTab* importTab;
  ParametersTab* parametersTab;
  DiagnosticsTab* diagnosticsTab;
  HistoryTab* historyTab;
  QLabel *POS, *Target, *CmAtvty;
  // Beside the tabs, over the cut list: a lost link or labels that wait for
  // the label file; hidden while all is well.
  QLabel* PlcAlert;
  QGroupBox* ManFrame;
  QComboBox* ManPos;
  QCheckBox *TLen, *CLen, *ManGrv;
  std::array<QRadioButton*, 2> MUnits;
  QPushButton* ManSnd;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildPusherPosition();
  void BuildManualPosition();
  void BuildAlert();
  void RenderBottom();
  void Forward(const std::function<void()>& event);
  void WatchDialogs();

  bool activatedOnce_ = false;
  bool ended_ = false;
};

// Centred on the screen, lifted a little, as the window opens.
void PlaceMainWindow(QWidget& window);

}  // namespace orl
