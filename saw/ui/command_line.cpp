#include "saw/ui/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include "saw/shell/orl_settings.h"

namespace orl {

OrlOptions ParseCommandLine(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription("ORL saw controller: cut lists, optimizer patterns and the saw PLC.");
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption simulate("simulate", "Run against the built-in simulated saw PLC.");
  const QCommandLineOption settingsDir("settings-dir", "Folder holding ORL.INI.", "DIR");
  const QCommandLineOption screenshots("screenshots", "Write screenshots of the window into DIR and end.", "DIR");
  parser.addOptions({simulate, settingsDir, screenshots});
  parser.addPositionalArgument("PROGRAM", "A cut program to open at start-up.", "[PROGRAM]");
  parser.process(arguments);

  OrlOptions options;
  options.simulate = parser.isSet(simulate);
  options.settingsDir = parser.value(settingsDir);
  // Taken from the folder the program was started in: start-up later moves
  // into the settings folder.
  if (parser.isSet(screenshots)) options.screenshotsDir = QDir::current().absoluteFilePath(parser.value(screenshots));
  const QStringList positional = parser.positionalArguments();
  if (positional.size() > 1) {
    qCritical("orl: at most one PROGRAM may be named");
    ::exit(1);
  }
  if (!positional.isEmpty()) options.program = QDir::current().absoluteFilePath(positional.front());
  return options;
}

QString SettingsFolder(const OrlOptions& options) {
  const std::string programFolder = QCoreApplication::applicationDirPath().toStdString();
  const std::string folder = ChosenSettingsFolder(programFolder, options.settingsDir.toStdString());
  return QDir(QString::fromStdString(folder)).absolutePath();
}

}  // namespace orl
