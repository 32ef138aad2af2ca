#include "saw/ui/directory_chooser.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "saw/cutlist/directory_choice.h"
#include "saw/ui/dialog_parts.h"

namespace orl {
namespace {

constexpr int kTreeWidth = 300;
constexpr int kTreeHeight = 280;
constexpr int kWaitStepMs = 20;
constexpr int kSettleMs = 100;

bool IsEnter(const QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<const QKeyEvent*>(event)->key();
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}


}  // namespace

DirectoryChooser::DirectoryChooser(const QString& dirBoxPath, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QString::fromUtf8(kDirectoryChooserTitle));
  BuildControls();
  LayOut();
  SetNewFolderBoxVisible(false);
  ShowStartFolder(QString::fromStdString(ChooserStartFolder(dirBoxPath.toStdString())));
}

QString DirectoryChooser::Choose(const QString& dirBoxPath, QWidget* parent) {
  DirectoryChooser chooser(dirBoxPath, parent);
  chooser.exec();
  return chooser.ChosenFolder();
}

QString DirectoryChooser::SelectedFolder() const {
  const QModelIndex current = tree_->currentIndex();
  return current.isValid() ? model_->filePath(current) : startFolder_;
}

void DirectoryChooser::BuildControls() {
  model_ = new QFileSystemModel(this);
  model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
  model_->setRootPath(QStringLiteral("/"));
  connect(model_, &QFileSystemModel::directoryLoaded, this, &DirectoryChooser::FolderLoaded);
  connect(model_, &QFileSystemModel::directoryLoaded, this, &DirectoryChooser::NoteFolderLoaded);

  tree_ = new QTreeView(this);
  tree_->setObjectName(QStringLiteral("Dir1"));
  tree_->setModel(model_);
  // Queued, so that the tree has taken in the change first.
  connect(model_, &QFileSystemModel::directoryLoaded, this, &DirectoryChooser::KeepStartFolderInView, Qt::QueuedConnection);
  connect(model_, &QFileSystemModel::layoutChanged, this, &DirectoryChooser::KeepStartFolderInView, Qt::QueuedConnection);
  for (int column = 1; column < model_->columnCount(); ++column) tree_->hideColumn(column);
  tree_->setHeaderHidden(true);
  // Deep folders scroll sideways rather than being cut off.
  tree_->header()->setStretchLastSection(false);
  tree_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  tree_->setMinimumSize(kTreeWidth, kTreeHeight);

  newFolderName_ = new QLineEdit(this);
  newFolderName_->setObjectName(QStringLiteral("NFldr"));
  newFolderName_->installEventFilter(this);

  newFolderButton_ = NamedButton(kNewFolderCaption, "NFldrBtn", this);
  applyButton_ = NamedButton(kApplyCaption, "NfldrApBtn", this);
  okButton_ = NamedButton(kOkCaption, "OKButton", this);
  cancelButton_ = NamedButton(kCancelCaption, "CancelButton", this);
  okButton_->setDefault(true);

  connect(newFolderButton_, &QPushButton::clicked, this, &DirectoryChooser::ShowNewFolderBox);
  connect(applyButton_, &QPushButton::clicked, this, &DirectoryChooser::ApplyNewFolder);
  connect(okButton_, &QPushButton::clicked, this, &DirectoryChooser::ChooseSelected);
  connect(cancelButton_, &QPushButton::clicked, this, &DirectoryChooser::reject);
}

void DirectoryChooser::LayOut() {
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(okButton_);
  buttons->addWidget(cancelButton_);
  buttons->addSpacing(12);
  buttons->addWidget(newFolderButton_);
  buttons->addStretch();

  auto* top = new QHBoxLayout;
  top->addWidget(tree_, 1);
  top->addLayout(buttons);

  auto* newFolderRow = new QHBoxLayout;
  newFolderRow->addWidget(newFolderName_, 1);
  newFolderRow->addWidget(applyButton_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top, 1);
  layout->addLayout(newFolderRow);

  setTabOrder(tree_, okButton_);
  setTabOrder(okButton_, cancelButton_);
  setTabOrder(cancelButton_, newFolderButton_);
  setTabOrder(newFolderButton_, newFolderName_);
  setTabOrder(newFolderName_, applyButton_);
}

void DirectoryChooser::ShowStartFolder(const QString& folder) {
  startFolder_ = folder;
  const QModelIndex index = model_->index(folder);
  if (!index.isValid()) return;  // the tree keeps its default
  tree_->setCurrentIndex(index);
  tree_->expand(index);
  tree_->setFocus();
}

// The tree reads and sorts each folder in the background, so the start
// folder moves as its siblings arrive: keep it in view until the operator
// selects another folder.
void DirectoryChooser::KeepStartFolderInView() {
  const QModelIndex current = tree_->currentIndex();
  if (startFolder_.isEmpty() || model_->filePath(current) != startFolder_) return;
  tree_->scrollTo(current, QAbstractItemView::PositionAtCenter);
}

void DirectoryChooser::NoteFolderLoaded(const QString& folder) {
  if (folder == startFolder_) startFolderLoaded_ = true;
}

bool DirectoryChooser::WaitForStartFolder(int timeoutMs) {
  QDeadlineTimer deadline(timeoutMs);
  while (!startFolderLoaded_ && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, kWaitStepMs);
  // The tree sorts what it read and scrolls after that, on later events.
  QDeadlineTimer settle(kSettleMs);
  while (!settle.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, kWaitStepMs);
  return startFolderLoaded_;
}

void DirectoryChooser::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  KeepStartFolderInView();
}

void DirectoryChooser::ShowNewFolderBox() {
  SetNewFolderBoxVisible(true);
  newFolderName_->setFocus();
}

// Creates the typed folder inside the selected one; a name that cannot be
// made (invalid, existing, no rights) simply makes nothing. The selection
// stays where it was: "OK" takes the selected folder, not the new one.
void DirectoryChooser::ApplyNewFolder() {
  const auto name = NewFolderName(newFolderName_->text().toStdString());
  const QModelIndex parent = tree_->currentIndex();
  if (name && parent.isValid()) {
    model_->mkdir(parent, QString::fromStdString(*name));
    tree_->expand(parent);
  }
  newFolderName_->clear();
  SetNewFolderBoxVisible(false);
  tree_->setFocus();
}

void DirectoryChooser::SetNewFolderBoxVisible(bool visible) {
  newFolderName_->setVisible(visible);
  applyButton_->setVisible(visible);
}

void DirectoryChooser::ChooseSelected() {
  chosen_ = SelectedFolder();
  accept();
}

bool DirectoryChooser::eventFilter(QObject* watched, QEvent* event) {
  // Enter in the name box applies it, rather than pressing "OK".
  if (watched == newFolderName_ && IsEnter(event)) {
    ApplyNewFolder();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace orl
