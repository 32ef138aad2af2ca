#pragma once
// The operator as orl-tool plays it: warnings go to standard error as one
// line each, questions get the answer the command was given, the save
// dialog returns the file named on the command line.
#include <iostream>
#include <optional>
#include <string>

#include "saw/shell/ui.h"

namespace orl {

class ToolUi : public Ui {
 public:
  bool answerYes = false;
  std::optional<std::string> saveFileName;

  void ShowMessage(const std::string& text, MessageIcon, const std::string& title) override {
    std::cerr << "orl-tool: " << title << " " << text << "\n";
  }
  bool AskYesNo(const std::string&, const std::string&) override { return answerYes; }
  std::optional<std::string> AskSaveFileName(const std::string&, const std::string&) override { return saveFileName; }
  std::string ChooseDirectory(const std::string&) override { return {}; }
  void PumpEvents() override {}
  void SetBusyCursor(bool) override {}
};

}  // namespace orl
