#pragma once
// The operator as orl-tool plays it: warnings go to standard error as one
// line each, questions get the answer the command was given, the save
// dialog returns the file named on the command line.
#include <chrono>
#include <iostream>
#include <optional>
#include <string>
#include <thread>

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
  // There are no events to pump; a wait that pumps them (the end sequence
  // waits a second) lets the time pass without spinning the processor.
  void PumpEvents() override { std::this_thread::sleep_for(std::chrono::milliseconds(1)); }
  void SetBusyCursor(bool) override {}
};

}  // namespace orl
