#include "saw/ui/qt_ui.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

#include "saw/shell/save_dialog_setup.h"
#include "saw/ui/directory_chooser.h"

namespace orl {
namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

QString Text(const std::string& text) { return QString::fromStdString(text); }

QStringList FilterList(const std::vector<std::string>& filters) {
  QStringList list;
  for (const std::string& filter : filters) list << Text(filter);
  return list;
}

}  // namespace

QtUi::QtUi(QWidget* parent) : parent_(parent) {}

QtUi::~QtUi() { SetBusyCursor(false); }

void QtUi::SetParent(QWidget* parent) { parent_ = parent; }

void QtUi::Dismiss() {
  dismissed_ = true;
  // A box may be open above another (the about box's own); each one's
  // event loop ends as control comes back to it.
  for (QWidget* window : QApplication::topLevelWidgets()) {
    auto* dialog = qobject_cast<QDialog*>(window);
    if (dialog && dialog->isVisible() && dialog->isModal()) dialog->reject();
  }
}

void QtUi::ShowMessage(const std::string& text, MessageIcon icon, const std::string& title) {
  if (dismissed_) return;
  QMessageBox box(BoxIcon(icon), Text(title), Text(text), QMessageBox::Ok, parent_);
  box.exec();
}

bool QtUi::AskYesNo(const std::string& text, const std::string& title) {
  if (dismissed_) return false;
  QMessageBox box(QMessageBox::Question, Text(title), Text(text), QMessageBox::Yes | QMessageBox::No, parent_);
  box.setDefaultButton(QMessageBox::Yes);
  return box.exec() == QMessageBox::Yes;
}

std::optional<std::string> QtUi::AskSaveFileName(const std::string& initialFile, const std::string& filter) {
  if (dismissed_) return std::nullopt;
  const SaveDialogSetup setup = SaveDialogSetupFor(initialFile, filter);
  QFileDialog dialog(parent_);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  // The engine asks before overwriting, with its own words.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setNameFilters(FilterList(setup.filters));
  if (!setup.folder.empty()) dialog.setDirectory(Text(setup.folder));
  if (!setup.fileName.empty()) dialog.selectFile(Text(setup.fileName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().constFirst().toStdString();
}

std::string QtUi::ChooseDirectory(const std::string& folder) {
  if (dismissed_) return {};
  return DirectoryChooser::Choose(Text(folder), parent_).toStdString();
}

void QtUi::PumpEvents() { QCoreApplication::processEvents(); }

void QtUi::SetBusyCursor(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy) QApplication::setOverrideCursor(Qt::WaitCursor);
  else QApplication::restoreOverrideCursor();
}

}  // namespace orl
