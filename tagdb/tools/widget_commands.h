// "queldb edit" and "queldb about": the tag editor and the about box on their
// own, or rendered into a PNG file (with QT_QPA_PLATFORM=offscreen, no display
// is needed).
#pragma once

#include <CLI/CLI.hpp>

#include <string>

namespace queldb::tool {

struct WidgetCommands {
  CLI::App* edit = nullptr;
  CLI::App* about = nullptr;
  std::string dir;         // edit: folder of the tag database; the library's when empty
  std::string screenshot;  // a PNG file to write instead of waiting for the user
};

void AddWidgetCommands(CLI::App& app, WidgetCommands& commands);
// Runs the command that was given; the exit status.
int RunWidgetCommand(const WidgetCommands& commands, int argc, char** argv);

}  // namespace queldb::tool
