#pragma once
// A scripted Ui: every box is recorded with its text, icon and title;
// answers come from queues the test fills, and a question nobody scripted
// fails the test.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "saw/shell/ui.h"

namespace orl::testing {

struct RecordedBox {
  std::string text;
  MessageIcon icon;
  std::string title;
  bool operator==(const RecordedBox&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const RecordedBox& box) {
  return out << "[" << box.title << "] " << box.text;
}

class FakeUi : public Ui {
 public:
  std::vector<RecordedBox> boxes;
  std::deque<bool> yesNoAnswers;
  std::deque<std::optional<std::string>> saveAnswers;
  std::deque<std::string> directoryAnswers;
  std::vector<std::string> saveDialogInitialFiles;
  std::vector<std::string> directoryChooserStarts;
  std::function<void()> onPump;
  int pumps = 0;
  bool busy = false;

  void ShowMessage(const std::string& text, MessageIcon icon, const std::string& title) override {
    boxes.push_back({text, icon, title});
  }

  bool AskYesNo(const std::string& text, const std::string& title) override {
    boxes.push_back({text, MessageIcon::Question, title});
    if (yesNoAnswers.empty()) {
      ADD_FAILURE() << "unexpected question: " << text;
      return false;
    }
    const bool answer = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return answer;
  }

  std::optional<std::string> AskSaveFileName(const std::string& initialFile, const std::string&) override {
    saveDialogInitialFiles.push_back(initialFile);
    if (saveAnswers.empty()) {
      ADD_FAILURE() << "unexpected save dialog";
      return std::nullopt;
    }
    auto answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
  }

  std::string ChooseDirectory(const std::string& folder) override {
    directoryChooserStarts.push_back(folder);
    if (directoryAnswers.empty()) {
      ADD_FAILURE() << "unexpected directory chooser";
      return {};
    }
    auto answer = directoryAnswers.front();
    directoryAnswers.pop_front();
    return answer;
  }

  void PumpEvents() override {
    ++pumps;
    if (onPump) onPump();
  }

  void SetBusyCursor(bool isBusy) override { busy = isBusy; }

  // The texts of the warnings shown so far.
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const auto& box : boxes) texts.push_back(box.text);
    return texts;
  }
};

}  // namespace orl::testing
