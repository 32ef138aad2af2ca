// queldb: creates, fills and lists the tag database, and runs scripts of Db
// calls against the library as a host would.
#include <CLI/CLI.hpp>

#include <fstream>
#include <iostream>

#include "script_runner.h"
#include "tag_file.h"
#include "widget_commands.h"

namespace {

int RunScript(const std::string& file) {
  queldb::tool::ScriptRunner runner;
  if (file.empty() || file == "-") {
    runner.Run(std::cin, std::cout);
    return 0;
  }
  std::ifstream in(file);
  if (!in) throw queldb::tool::ToolError("cannot read " + file);
  runner.Run(in, std::cout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"QuelDB tag database tool"};
  app.require_subcommand(1);
  std::string dir, file;
  bool asCsv = false;

  auto* init = app.add_subcommand("init", "Create DIR/Quelontrol.mdb with empty TagData and EnNumerations tables");
  init->add_option("DIR", dir, "Folder of the tag database")->required();
  auto* import = app.add_subcommand("import", "Append tags from a CSV file whose header names TagData fields");
  import->add_option("DIR", dir, "Folder of the tag database")->required();
  import->add_option("FILE", file, "CSV file")->required();
  auto* tags = app.add_subcommand("tags", "List the tags");
  tags->add_option("DIR", dir, "Folder of the tag database")->required();
  tags->add_flag("--csv", asCsv, "Every field, as CSV");
  auto* script = app.add_subcommand("script", "Run one Db call per line of JSON (FILE or standard input)");
  script->add_option("FILE", file, "Script file; standard input when absent");
  queldb::tool::WidgetCommands widgetCommands;
  queldb::tool::AddWidgetCommands(app, widgetCommands);

  CLI11_PARSE(app, argc, argv);
  try {
    if (*init) {
      queldb::tool::CreateTagDatabase(dir);
    } else if (*import) {
      int added = queldb::tool::ImportTags(dir, file);
      std::cout << added << (added == 1 ? " tag" : " tags") << " imported\n";
    } else if (*tags) {
      queldb::tool::ListTags(dir, asCsv, std::cout);
    } else if (*script) {
      return RunScript(file);
    } else {
      return queldb::tool::RunWidgetCommand(widgetCommands, argc, argv);
    }
  } catch (const std::exception& e) {
    std::cerr << "queldb: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
