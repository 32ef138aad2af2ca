#include "widget_commands.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <memory>

#include "queldb/about_box.h"
#include "queldb/db.h"
#include "queldb/tag_editor.h"
#include "tag_file.h"
#include "tool_error.h"
#include "tag_table.h"

namespace queldb::tool {
namespace {

QString EditedFile(const std::string& dir) {
  if (dir.empty()) return QString::fromStdString(Db::TagDatabaseFile());
  return QDir(QString::fromStdString(dir)).filePath(kTagDatabaseFileName);
}

// The window's contents under a plain title bar carrying its caption, which a
// grab alone leaves out (the window manager draws the real one).
QImage WithTitleBar(QWidget* window) {
  const QPixmap contents = window->grab();
  QFont font = window->font();
  font.setBold(true);
  const int barHeight = QFontMetrics(font).height() + 12;
  QImage image(contents.width(), contents.height() + barHeight, QImage::Format_ARGB32);
  image.fill(window->palette().window().color());
  QPainter painter(&image);
  painter.fillRect(0, 0, image.width(), barHeight, QColor(0x3c, 0x4a, 0x5c));
  painter.setPen(Qt::white);
  painter.setFont(font);
  painter.drawText(QRect(10, 0, image.width() - 20, barHeight), Qt::AlignVCenter | Qt::AlignLeft,
                   window->windowTitle());
  painter.drawPixmap(0, barHeight, contents);
  return image;
}

void WriteScreenshot(QWidget* window, const std::string& file) {
  window->show();
  // Let the layouts settle before the window is drawn.
  QApplication::processEvents();
  window->adjustSize();
  QApplication::processEvents();
  if (!WithTitleBar(window).save(QString::fromStdString(file), "PNG")) {
    throw ToolError("cannot write " + file);
  }
}

}  // namespace

int RunWidgetCommand(const WidgetCommands& commands, int argc, char** argv) {
  const QString file = *commands.edit ? EditedFile(commands.dir) : QString();
  // The editor would say so in a box; on the command line an error is plainer.
  if (*commands.edit) CheckTagDatabase(file.toStdString());
  QApplication app(argc, argv);
  if (*commands.about) {
    std::unique_ptr<QDialog> about(CreateAboutBox());
    if (commands.screenshot.empty()) {
      about->exec();
      return 0;
    }
    WriteScreenshot(about.get(), commands.screenshot);
    return 0;
  }
  QWidget* editor = OpenTagEditor(file);
  if (commands.screenshot.empty()) return QApplication::exec();
  WriteScreenshot(editor, commands.screenshot);
  editor->close();
  return 0;
}

}  // namespace queldb::tool
