#include "saw/ui/screenshots.h"

#include <QCoreApplication>
#include <QDir>
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
  if (ws.cutList.DispFName.empty()) {
    const std::string program = EntryOr(ws.File1.entries, kExampleProgram);
    if (!program.empty()) ws.ProgramClicked(program);
  }
  ws.cutList.grid.SetBlockSelection(1, ColsPerGroup * 3);
  const std::string optimizerFile = EntryOr(ws.jobs.File2.entries, kExampleOptimizerFile);
  if (!optimizerFile.empty() && ws.OptimizerFileClicked(optimizerFile) && !ws.optimizer.Pat.Items.empty())
    ws.PatClicked(0);
  window.Render();
}

bool Save(QWidget& widget, const QDir& folder, const char* name) {
  return widget.grab().save(folder.filePath(name));
}

bool SaveDirectoryChooser(const QDir& folder, const QString& start) {
  DirectoryChooser chooser(start);
  chooser.show();
  chooser.WaitForStartFolder(kChooserLoadMs);
  return Save(chooser, folder, kDirectoryChooserScreenshot);
}

bool WriteImages(MainWindow& window, Ui& ui, const QDir& folder) {
  bool ok = true;
  const int shownTab = window.SSTab1->currentIndex();
  for (int tab = 0; tab < window.SSTab1->count(); ++tab) {
    window.SSTab1->setCurrentIndex(tab);
    window.Render();
    QCoreApplication::processEvents();
    ok = Save(window, folder, kScreenshotNames[tab]) && ok;
  }
  window.SSTab1->setCurrentIndex(shownTab);
  AboutBox about(ui);
  about.show();
  QCoreApplication::processEvents();
  ok = Save(about, folder, kAboutScreenshot) && ok;
  about.hide();
  // The Jobs folder, which the settings give relative to the settings folder (the current one).
  ok = SaveDirectoryChooser(folder, QDir::current().absoluteFilePath(QString::fromStdString(window.ws.PthPar.Text(1, 1)))) && ok;
  return ok;
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
    QTimer::singleShot(100, &window, [&window, &ui, folder, done] { done(WriteImages(window, ui, folder)); });
  });
}

}  // namespace orl
