#include "saw/ui/screenshots.h"

#include <QCoreApplication>
#include <QDir>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <memory>

#include "saw/ui/about_box.h"
#include "saw/ui/directory_chooser.h"
#include "saw/ui/main_window.h"

namespace orl {
namespace {

constexpr const char* kExampleProgram = "kitchen-groups";
constexpr const char* kExampleOptimizerFile = "CPOUT.001";
constexpr int kChooserLoadMs = 3000;

// The named entry when the list has it, else the first; empty for none.
std::string EntryOr(const std::vector<std::string>& entries, const std::string& wanted) {
  for (const auto& entry : entries)
    if (entry == wanted) return entry;
  return entries.empty() ? std::string() : entries.front();
}

void ShowExamples(MainWindow& window) {
  Workstation& ws = window.ws;
  if (ws.cutList().DispFName.empty()) {
    const std::string program = EntryOr(ws.File1().entries, kExampleProgram);
    if (!program.empty()) ws.ProgramClicked(program);
  }
  ws.CutListSelectionChanged(1, ColsPerGroup * 3);
  const std::string optimizerFile = EntryOr(ws.jobs().File2.entries, kExampleOptimizerFile);
  if (!optimizerFile.empty() && ws.OptimizerFileClicked(optimizerFile) && !ws.optimizer().Pat.Items.empty())
    ws.PatClicked(0);
  window.Render();
}

bool Save(QWidget& widget, const QDir& folder, const char* name) {
  return widget.grab().save(folder.filePath(name));
}

// A dialog under a plain title bar carrying its caption, which a grab alone
// leaves out (the window manager draws the real one).
bool SaveWithTitleBar(QWidget& dialog, const QDir& folder, const char* name) {
  const QPixmap contents = dialog.grab();
  QFont font = dialog.font();
  font.setBold(true);
  const int barHeight = QFontMetrics(font).height() + 12;
  QImage image(contents.width(), contents.height() + barHeight, QImage::Format_ARGB32);
  image.fill(dialog.palette().window().color());
  QPainter painter(&image);
  painter.fillRect(0, 0, image.width(), barHeight, QColor(0x3c, 0x4a, 0x5c));
  painter.setPen(Qt::white);
  painter.setFont(font);
  painter.drawText(QRect(10, 0, image.width() - 20, barHeight), Qt::AlignVCenter | Qt::AlignLeft, dialog.windowTitle());
  painter.drawPixmap(0, barHeight, contents);
  painter.end();
  return image.save(folder.filePath(name));
}

bool SaveDirectoryChooser(const QDir& folder, const QString& start) {
  DirectoryChooser chooser(start);
  chooser.show();
  chooser.WaitForStartFolder(kChooserLoadMs);
  return SaveWithTitleBar(chooser, folder, kDirectoryChooserScreenshot);
}

bool WriteImages(MainWindow& window, Ui& ui, const QDir& folder) {
  bool ok = true;
  const int shownTab = window.SSTab1->currentIndex();
  for (int tab = 0; tab < kHistoryTab; ++tab) {
    window.SSTab1->setCurrentIndex(tab);
    window.Render();
    QCoreApplication::processEvents();
    ok = Save(window, folder, kScreenshotNames[tab]) && ok;
  }
  window.SSTab1->setCurrentIndex(shownTab);
  AboutBox about(ui);
  about.show();
  QCoreApplication::processEvents();
  ok = SaveWithTitleBar(about, folder, kAboutScreenshot) && ok;
  about.hide();
  // The Jobs folder, which the settings give relative to the settings folder (the current one).
  ok = SaveDirectoryChooser(folder, QDir::current().absoluteFilePath(QString::fromStdString(window.ws.PthPar().Text(1, 1)))) && ok;
  return ok;
}

// The saw goes on cutting until the History tab has a few records to show.
void SaveHistoryImage(MainWindow& window, const QDir& folder, std::function<void(bool)> done, int pollsLeft) {
  window.ws.RefreshShownHistory();
  QTimer::singleShot(300, &window, [&window, folder, done, pollsLeft] {
    window.Render();
    const bool enough = window.ws.historyView().rows.size() >= static_cast<std::size_t>(kHistoryScreenshotRows);
    if (!enough && pollsLeft > 0) return SaveHistoryImage(window, folder, done, pollsLeft - 1);
    done(Save(window, folder, kHistoryScreenshot));
  });
}

}  // namespace

void TakeScreenshots(MainWindow& window, Ui& ui, const QString& folderPath, std::function<void(bool)> done) {
  QDir folder(folderPath);
  if (!folder.mkpath(".")) return done(false);
  ShowExamples(window);
  auto ticks = std::make_shared<int>(0);
  auto connection = std::make_shared<QMetaObject::Connection>();
  *connection = QObject::connect(&window.scan.TimerScan, &QTimer::timeout, &window, [&window, &ui, folder, ticks,
                                                                                      connection, done] {
    if (++*ticks < kScreenshotTicks) return;
    QObject::disconnect(*connection);
    // Let the last transfer land before the pictures are taken.
    QTimer::singleShot(100, &window, [&window, &ui, folder, done] {
      const bool written = WriteImages(window, ui, folder);
      window.SSTab1->setCurrentIndex(kHistoryTab);
      SaveHistoryImage(window, folder, [done, written](bool saved) { done(written && saved); }, kHistoryScreenshotPolls);
    });
  });
}

}  // namespace orl
