#pragma once
// The operator's screen as the engine sees it, on Qt: message boxes, the
// save dialog, the directory chooser, event pumping and the busy pointer.
#include <QPointer>
#include <QWidget>

#include "saw/shell/ui.h"

namespace orl {

class QtUi : public Ui {
 public:
  // Boxes and dialogs are centred on parent; the main window is made after
  // the about box, so it may be given later.
  explicit QtUi(QWidget* parent = nullptr);
  ~QtUi() override;
  QtUi(const QtUi&) = delete;
  QtUi& operator=(const QtUi&) = delete;

  void SetParent(QWidget* parent);

  // The program is ending: the box or dialog that is open closes as its
  // cancel (or No, or OK) would, and every later one is answered so at once
  // without being shown.
  void Dismiss();

  void ShowMessage(const std::string& text, MessageIcon icon, const std::string& title) override;
  bool AskYesNo(const std::string& text, const std::string& title) override;
  std::optional<std::string> AskSaveFileName(const std::string& initialFile, const std::string& filter) override;
  std::string ChooseDirectory(const std::string& folder) override;
  void PumpEvents() override;
  // Nested calls do not stack: one false undoes any number of trues.
  void SetBusyCursor(bool busy) override;

 private:
  QPointer<QWidget> parent_;
  bool busy_ = false;
  bool dismissed_ = false;
};

}  // namespace orl
