#pragma once
// The about box shown once at start-up: product title, description,
// version and copyright notice, with "OK" and "&System Info...".
#include <QDialog>
#include <QString>

#include "saw/shell/system_info.h"
#include "saw/shell/ui.h"

class QLabel;
class QPushButton;

namespace orl {

inline constexpr const char* kApplicationTitle = "ORL";
inline constexpr const char* kProductTitle = "ORL Saw Controller";
inline constexpr const char* kAboutCaptionPrefix = "About ";
inline constexpr const char* kProductDescription = "Replacement MMI for the control of CNC machinery";
inline constexpr const char* kVersionPrefix = "Version ";
inline constexpr const char* kDisclaimer =
    "Warning: This computer program is protected by copyright law and international treaties. "
    "Unauthorized reproduction or distribution of this program, or any portion of it, may result "
    "in severe civil and criminal penalties, and will be prosecuted to the maximum extent possible "
    "under the law.";
inline constexpr const char* kSystemInfoCaption = "&System Info...";

// The program's version, major.minor.revision, from the build.
QString ProgramVersion();

class AboutBox : public QDialog {
  Q_OBJECT

 public:
  // Messages (the system-information program being unavailable) go to ui.
  explicit AboutBox(Ui& ui, QWidget* parent = nullptr);

  // Where the system-information program is looked for and how it is
  // started; by default the search path and a start without a shell.
  void SetProgramLookup(FindOnPath find, StartProgram start);

 private:
  void ShowSystemInfo();

  Ui& ui_;
  FindOnPath find_;
  StartProgram start_;
};

}  // namespace orl
