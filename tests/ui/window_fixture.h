#pragma once
// The real main window on the bundled examples (copied into a temporary
// folder) against the simulated saw PLC. Boxes and dialogs are answered by
// the scripted Ui; any box the test did not expect fails it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QAbstractSpinBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <filesystem>
#include <map>
#include <memory>

#include "fakes/fake_ui.h"
#include "fakes/temp_folder.h"
#include "saw/ui/main_window.h"
#include "ui/wait_for.h"

namespace orl::testing {

// The machine's clock, faster, so the simulated saw runs a cycle in a
// moment; it holds no state, so the PLC worker thread may read it too.
class FastClock final : public Clock {
 public:
  double Seconds() const override { return steady_.Seconds() * kFactor; }
  static constexpr double kFactor = 20;

 private:
  SteadyClock steady_;
};

// Events run while the engine pumps them, as in the program.
class WindowUi : public FakeUi {
 public:
  void PumpEvents() override {
    FakeUi::PumpEvents();
    QCoreApplication::processEvents();
  }
};

// The operator's hands: clicks on widgets and cells, keys to whatever has
// the keyboard focus, each followed by the event loop's turn, as between
// two real key presses.
inline void Click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }

inline QListWidgetItem* Item(QListWidget* list, const QString& text) {
  const auto found = list->findItems(text, Qt::MatchExactly);
  return found.isEmpty() ? nullptr : found.front();
}

inline void ClickItem(QListWidget* list, const QString& text) {
  QListWidgetItem* item = Item(list, text);
  ASSERT_NE(item, nullptr) << text.toStdString();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

inline QPoint CellCenter(GridView* view, int row, int column) {
  view->scrollTo(view->Model()->IndexOf(row, column));
  return view->visualRect(view->Model()->IndexOf(row, column)).center();
}

inline void ClickCell(GridView* view, int row, int column, Qt::KeyboardModifiers modifiers = {}) {
  QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers, CellCenter(view, row, column));
}

inline void DoubleClickCell(GridView* view, int row, int column) {
  QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, CellCenter(view, row, column));
  QCoreApplication::processEvents();
}

inline void PressKey(Qt::Key key) {
  QWidget* focus = QApplication::focusWidget();
  ASSERT_NE(focus, nullptr) << "nothing has the keyboard";
  QTest::keyClick(focus, key);
  QCoreApplication::processEvents();
}

inline void TypeKeys(const QString& text) {
  for (const QChar c : text) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr) << "nothing has the keyboard";
    QTest::keyClick(focus, c.toLatin1());
    QCoreApplication::processEvents();
  }
}

// The grid's cell under the operator's cursor, as (row, column).
inline std::pair<int, int> Cursor(GridView* view) {
  const QModelIndex current = view->currentIndex();
  return {current.row() + 1, current.column() + 1};
}

struct WindowFixture : ::testing::Test {
  TempFolder folder;
  WindowUi ui;
  RealFileSystem fileSystem;
  FastClock clock;
  std::unique_ptr<PlcLink> simulated;  // behind a wrapper of the test's, kept until the workstation has gone
  std::unique_ptr<Workstation> ws;
  std::unique_ptr<MainWindow> window;
  std::vector<RecordedBox> expectedBoxes;

  // The examples, with some settings of their ORL.INI changed.
  void Start(const std::map<std::string, std::string>& changedSettings = {}) {
    const std::filesystem::path examples = std::filesystem::path(ORL_EXAMPLES_DIR);
    folder.CopyExamples(examples);
    std::string ini = folder.Read("ORL.INI");
    for (const auto& [key, value] : changedSettings) {
      const std::size_t at = ini.find("\n" + key + "=");
      ASSERT_NE(at, std::string::npos) << key;
      ini.replace(at + 1, ini.find('\n', at + 1) - at - 1, key + "=" + value);
    }
    folder.Write("ORL.INI", ini);
    ws = std::make_unique<Workstation>(ui, fileSystem, clock);
    ws->StartUp(folder.Path() / "ORL.INI");
    ASSERT_TRUE(ws->OpenPlc(/*simulate=*/true));
    window = std::make_unique<MainWindow>(*ws);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  }

  // Puts a wrapper (a PlcLink taking the link it wraps) between the
  // workstation and a simulated PLC of its own.
  template <class Wrapper>
  Wrapper* WrapLink() {
    simulated = MakePlcLink(PlcLinkSpecFromSettings(ws->settings(), /*simulate=*/true), clock);
    auto wrapper = std::make_unique<Wrapper>(*simulated);
    Wrapper* wrapped = wrapper.get();
    EXPECT_TRUE(ws->OpenPlc(std::move(wrapper)));
    return wrapped;
  }

  void StartScanning(int intervalMs = 10) {
    window->scan.Start();
    window->scan.TimerScan.setInterval(intervalMs);
  }

  // Types text into a grid cell and commits it with Return.
  void TypeIntoCell(GridView* view, int row, int column, const QString& text) {
    const QModelIndex cell = view->Model()->IndexOf(row, column);
    view->setFocus();
    view->setCurrentIndex(cell);
    view->edit(cell);
    QWidget* editor = QApplication::focusWidget();
    ASSERT_TRUE(editor && view->isAncestorOf(editor)) << "no cell editor opened at (" << row << "," << column << ")";
    if (auto* line = qobject_cast<QLineEdit*>(editor)) line->selectAll();
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(editor)) spin->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();  // the view commits the text on its next turn
  }

  QString CellText(GridView* view, int row, int column) {
    return view->Model()->data(view->Model()->IndexOf(row, column), Qt::DisplayRole).toString();
  }

  void TearDown() override {
    if (window) window->EndSequence();
    EXPECT_EQ(ui.boxes, expectedBoxes) << "a box the test did not expect";
    window.reset();
  }
};

}  // namespace orl::testing
