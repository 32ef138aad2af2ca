#include "widget_commands.h"

namespace queldb::tool {

void AddWidgetCommands(CLI::App& app, WidgetCommands& commands) {
  commands.edit = app.add_subcommand(
      "edit", "Open the tag editor on DIR/Quelontrol.mdb (the library's tag database without DIR)");
  commands.edit->add_option("DIR", commands.dir, "Folder of the tag database");
  commands.edit->add_option("--screenshot", commands.screenshot, "Write the editor to FILE (PNG) and exit");
  commands.about = app.add_subcommand("about", "Show the about box with the library's version");
  commands.about->add_option("--screenshot", commands.screenshot, "Write the about box to FILE (PNG) and exit");
}

}  // namespace queldb::tool
