#pragma once
// "Select Directory Path": a folder tree rooted at "/" in which the operator
// picks a folder, optionally creating a new one inside the selected folder.
#include <QDialog>
#include <QString>

class QFileSystemModel;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace orl {

inline constexpr const char* kDirectoryChooserTitle = "Select Directory Path";
inline constexpr const char* kNewFolderCaption = "New Folder";
inline constexpr const char* kApplyCaption = "Apply";
inline constexpr const char* kCancelCaption = "Cancel";

class DirectoryChooser : public QDialog {
  Q_OBJECT

 public:
  // Opens on dirBoxPath, or on the current folder when it does not exist.
  explicit DirectoryChooser(const QString& dirBoxPath, QWidget* parent = nullptr);

  // Shows the chooser modally: the folder chosen with "OK", or an empty text
  // after "Cancel" (or closing the window).
  static QString Choose(const QString& dirBoxPath, QWidget* parent = nullptr);

  // The folder chosen with "OK"; empty until then and after "Cancel".
  QString ChosenFolder() const { return chosen_; }
  // The folder selected in the tree (the start folder while none is).
  QString SelectedFolder() const;

  // Runs events until the tree has read the start folder in the background
  // and shows it in view, for at most timeoutMs; false when time ran out.
  // For pictures of a chooser shown without its own event loop.
  bool WaitForStartFolder(int timeoutMs);

 signals:
  // The tree has read a folder's contents (they are read in the background).
  void FolderLoaded(const QString& folder);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void BuildControls();
  void LayOut();
  void ShowStartFolder(const QString& folder);
  void KeepStartFolderInView();
  void NoteFolderLoaded(const QString& folder);
  void ShowNewFolderBox();
  void ApplyNewFolder();
  void SetNewFolderBoxVisible(bool visible);
  void ChooseSelected();

  QFileSystemModel* model_ = nullptr;
  QTreeView* tree_ = nullptr;
  QLineEdit* newFolderName_ = nullptr;
  QPushButton* newFolderButton_ = nullptr;
  QPushButton* applyButton_ = nullptr;
  QPushButton* okButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  QString startFolder_;
  bool startFolderLoaded_ = false;
  QString chosen_;
};

}  // namespace orl
