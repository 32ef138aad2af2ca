// The real window tells the operator about trouble where the cut list is,
// and shows what the simulated saw shows, driven through its widgets.
#include <QGroupBox>
#include <QTabBar>
#include <atomic>
#include <set>

#include "saw/plc/scan_sequence.h"
#include "saw/shell/text_number.h"
#include "window_fixture.h"

namespace orl {
namespace {

using testing::WaitFor;
using testing::WindowFixture;

void ClickItem(QListWidget* list, const QString& text) {
  const auto found = list->findItems(text, Qt::MatchExactly);
  ASSERT_FALSE(found.isEmpty()) << text.toStdString();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.front()).center());
}

// The simulated saw behind a cable the test can pull: while unplugged the
// link is busy and reports the loss with an attempt to reconnect, as the
// Modbus link does. The flag is read on the PLC worker's thread.
class CableLink : public PlcLink {
 public:
  explicit CableLink(std::unique_ptr<PlcLink> inner) : inner_(std::move(inner)) {}
  std::atomic<bool> unplugged = false;

  bool Open() override { return inner_->Open(); }
  void Close() override { inner_->Close(); }
  bool LinkOpen() const override { return inner_->LinkOpen(); }
  bool LinkBusy() const override { return unplugged || inner_->LinkBusy(); }
  int ReadWords(int address, PlcWords2& buffer, int count) override {
    return unplugged ? 0 : inner_->ReadWords(address, buffer, count);
  }
  int WriteWords(int address, std::int32_t value) override { return unplugged ? 0 : inner_->WriteWords(address, value); }
  int WriteWords(int address, const PlcWords4& words, int count) override {
    return unplugged ? 0 : inner_->WriteWords(address, words, count);
  }
  LinkHealth Health() const override { return {unplugged, unplugged}; }
  std::string LastError() const override { return "Connection refused"; }

 private:
  std::unique_ptr<PlcLink> inner_;
};

// The columns of an image that hold the text's ink (darker than the
// label's own background).
std::pair<int, int> InkColumns(const QImage& image) {
  const int background = qGray(image.pixel(image.width() / 2, 1));
  int first = image.width(), last = -1;
  for (int x = 0; x < image.width(); ++x)
    for (int y = 3; y < image.height() - 3; ++y)
      if (qGray(image.pixel(x, y)) < background - 80) {
        first = std::min(first, x);
        last = std::max(last, x);
      }
  return {first, last};
}

TEST_F(WindowFixture, TheActivityLabelShowsItsLongestTextWhole) {
  Start();
  ws->plc.CmAtvty = kActivityNotAnswering;
  window->Render();
  QLabel* label = window->CmAtvty;
  ASSERT_EQ(label->text(), kActivityNotAnswering);
  EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width());
  const QImage image = label->grab().toImage();
  const auto [first, last] = InkColumns(image);
  ASSERT_LE(first, last) << "no text rendered";
  EXPECT_GT(first, label->frameWidth()) << "the text is cut off on the left";
  EXPECT_LT(last, image.width() - 1 - label->frameWidth()) << "the text is cut off on the right";
  for (QGroupBox* frame : window->centralWidget()->findChildren<QGroupBox*>(Qt::FindDirectChildrenOnly))
    EXPECT_FALSE(frame->geometry().intersects(label->geometry())) << frame->title().toStdString();
}

TEST_F(WindowFixture, ALostLinkShowsBesideTheCutListAndItsReconnectsStayOnOneLine) {
  Start();
  auto cable = std::make_unique<CableLink>(std::move(ws->link));
  CableLink* link = cable.get();
  ws->link = std::move(cable);
  StartScanning();
  ASSERT_TRUE(WaitFor([&] { return !window->POS->text().isEmpty(); }));
  ASSERT_EQ(window->SSTab1->currentIndex(), kProgramControlTab);
  EXPECT_FALSE(window->PlcAlert->isVisible());

  link->unplugged = true;
  ASSERT_TRUE(WaitFor([&] { return window->PlcAlert->isVisible(); }));
  EXPECT_EQ(window->PlcAlert->toolTip(), "PLC not answering: Connection refused");
  EXPECT_TRUE(window->PlcAlert->text().startsWith("PLC not answering"));
  // Beside the tabs, not over them.
  QTabBar* tabs = window->SSTab1->tabBar();
  const QRect lastTab(tabs->mapTo(window.get(), tabs->tabRect(tabs->count() - 1).topLeft()),
                      tabs->tabRect(tabs->count() - 1).size());
  const QRect alert(window->PlcAlert->mapTo(window.get(), QPoint(0, 0)), window->PlcAlert->size());
  EXPECT_FALSE(alert.intersects(lastTab));
  EXPECT_LE(alert.right(), window->SSTab1->geometry().right());

  const auto reconnectLines = [&] {
    window->Render();
    return window->diagnosticsTab->CommLog->findItems(kLogReconnecting, Qt::MatchContains);
  };
  ASSERT_TRUE(WaitFor([&] {
    const auto lines = reconnectLines();
    return !lines.isEmpty() && lines.back()->text().contains("(repeated 20 times)");
  }));
  EXPECT_EQ(reconnectLines().size(), 1);
  EXPECT_EQ(window->diagnosticsTab->CommLog->findItems(kLogLinkLost, Qt::MatchContains).size(), 1);

  link->unplugged = false;
  EXPECT_TRUE(WaitFor([&] { return window->PlcAlert->isHidden(); }));
}

TEST_F(WindowFixture, TheSimulatedSawShowsEachTargetAsItWasSent) {
  Start();
  ClickItem(window->programTab->File1, "metric-example");
  std::set<QString> shown, sent;
  QString lastSent;
  std::uint64_t handOvers = ws->plc.HandOvers;
  QObject::connect(&window->scan, &ScanDriver::stateChanged, window.get(), [&] {
    shown.insert(window->Target->text());
    if (ws->plc.HandOvers == handOvers) return;
    handOvers = ws->plc.HandOvers;
    lastSent = QString::fromStdString(FormatMask(ws->plc.LastHandOver.entry.Target / 10.0, kPositionMask));
    sent.insert(lastSent);
  });
  StartScanning();
  ASSERT_TRUE(WaitFor([&] { return ws->plc.LastHandOver.LastCut; }, 20000));
  WaitFor([&] { return shown.contains(lastSent); });
  ASSERT_GT(sent.size(), 1u);
  QStringList seen(shown.begin(), shown.end());
  for (const QString& target : sent)
    EXPECT_TRUE(shown.contains(target)) << target.toStdString() << " not in " << seen.join(", ").toStdString();
}

TEST_F(WindowFixture, AManualPositionEndsTheListAndTheCutListIsFreedAgain) {
  Start();
  ClickItem(window->programTab->File1, "metric-example");
  StartScanning();
  ASSERT_TRUE(WaitFor([&] { return !window->programTab->CutListGrid->isEnabled(); }, 10000));
  window->ManPos->setFocus();
  window->ManPos->lineEdit()->selectAll();
  QTest::keyClicks(window->ManPos->lineEdit(), "250");
  QTest::mouseClick(window->ManSnd, Qt::LeftButton);
  ASSERT_TRUE(WaitFor([&] { return ws->plc.LastHandOver.Manual; }, 10000));
  // Freed until the saw starts the list again after its pause.
  bool freed = false;
  QObject::connect(&window->scan, &ScanDriver::stateChanged, window.get(),
                   [&] { freed = freed || window->programTab->CutListGrid->isEnabled(); });
  EXPECT_TRUE(WaitFor([&] { return freed; }, 10000));
}

}  // namespace
}  // namespace orl
