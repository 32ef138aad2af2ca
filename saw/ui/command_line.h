#pragma once
// The program's command line:
//   orl [--simulate] [--settings-dir DIR] [--screenshots DIR] [PROGRAM]
// with --help and --version (both print and end the program).
#include <QString>
#include <QStringList>

namespace orl {

struct OrlOptions {
  bool simulate = false;
  QString settingsDir;     // where ORL.INI is; empty: ORL_SETTINGS_DIR, else the program's folder
  QString screenshotsDir;  // empty: no screenshots
  QString program;         // a cut program opened at start-up
};

// Parses the application's arguments; --help, --version and errors print
// and end the process as QCommandLineParser does.
OrlOptions ParseCommandLine(const QStringList& arguments);

// The folder whose ORL.INI the program reads.
QString SettingsFolder(const OrlOptions& options);

}  // namespace orl
