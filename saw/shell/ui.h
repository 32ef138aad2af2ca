#pragma once
// Everything the engine asks of the operator's screen: message boxes with
// exact texts and titles, the save dialog, the directory chooser, event
// pumping and the busy pointer. The desktop program implements it with Qt;
// tests use a scripted fake.
#include <optional>
#include <string>

namespace orl {

enum class MessageIcon { None, Exclamation, Question };

inline constexpr const char* kAlertTitle = "Alert!";

class Ui {
 public:
  virtual ~Ui() = default;

  virtual void ShowMessage(const std::string& text, MessageIcon icon, const std::string& title) = 0;

  // A Yes/No question; true for Yes.
  virtual bool AskYesNo(const std::string& text, const std::string& title) = 0;

  // The save dialog with a filter and an initial file name; nullopt when the
  // operator cancels.
  virtual std::optional<std::string> AskSaveFileName(const std::string& initialFile,
                                                     const std::string& filter) = 0;

  // The directory chooser starting at folder; the chosen folder, or an empty
  // text when the operator cancels.
  virtual std::string ChooseDirectory(const std::string& folder) = 0;

  // Lets pending window events (timer ticks, clicks) run.
  virtual void PumpEvents() = 0;

  virtual void SetBusyCursor(bool busy) = 0;
};

// A warning box: exclamation icon, title "Alert!".
inline void Warn(Ui& ui, const std::string& text) { ui.ShowMessage(text, MessageIcon::Exclamation, kAlertTitle); }

// A Yes/No question titled "Alert!".
inline bool Ask(Ui& ui, const std::string& text) { return ui.AskYesNo(text, kAlertTitle); }

}  // namespace orl
