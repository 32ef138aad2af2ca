// queldb: creates, fills and lists the tag database, and runs scripts of Db
// calls against the library as a host would.
#include <CLI/CLI.hpp>

#include <filesystem>
#include <fstream>
#include <iostream>

#include "script_runner.h"
#include "tag_file.h"
#include "tool_error.h"
#include "widget_commands.h"

namespace {

using queldb::tool::ToolError;

void RunScript(const std::string& file) {
  queldb::tool::ScriptRunner runner;
  if (file.empty() || file == "-") return runner.Run(std::cin, std::cout);
  std::error_code error;
  if (std::filesystem::is_directory(file, error)) throw ToolError(file + " is a folder, not a script file");
  std::ifstream in(file);
  if (!in) throw ToolError("cannot read " + file);
  runner.Run(in, std::cout);
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"QuelDB tag database tool. Exit status: 0 done, 1 bad argument, 2 unreadable or unsuitable file."};
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

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    int shown = app.exit(e);  // prints the help, or the error and a hint
    return shown == 0 ? queldb::tool::kDone : queldb::tool::kBadArgument;
  }
  try {
    if (*init) {
      queldb::tool::CreateTagDatabase(dir);
    } else if (*import) {
      int added = queldb::tool::ImportTags(dir, file);
      std::cout << added << (added == 1 ? " tag" : " tags") << " imported\n";
    } else if (*tags) {
      queldb::tool::ListTags(dir, asCsv, std::cout);
    } else if (*script) {
      RunScript(file);
    } else {
      return queldb::tool::RunWidgetCommand(widgetCommands, argc, argv);
    }
  } catch (const ToolError& e) {
    std::cerr << "queldb: " << e.what() << "\n";
    return e.status;
  } catch (const std::exception& e) {
    std::cerr << "queldb: " << e.what() << "\n";
    return queldb::tool::kBadFile;
  }
  return queldb::tool::kDone;
}
