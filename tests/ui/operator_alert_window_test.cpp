// The real window tells the operator about trouble where the cut list is,
// driven through its widgets.
#include <QGroupBox>
#include <QTabBar>

#include "fakes/fake_plc_link.h"
#include "saw/plc/scan_sequence.h"
#include "window_fixture.h"

namespace orl {
namespace {

using testing::WaitFor;
using testing::WindowFixture;

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
  WrapLink<testing::FaultyPlcLink>()->unplugged = true;
  StartScanning();
  QLabel* label = window->CmAtvty;
  ASSERT_TRUE(WaitFor([&] { return label->text() == kActivityNotAnswering; }));
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
  testing::FaultyPlcLink* link = WrapLink<testing::FaultyPlcLink>();
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

}  // namespace
}  // namespace orl
