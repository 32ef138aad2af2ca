// orl-tool: the saw controller's engine on the command line.
#include <CLI/CLI.hpp>

#include "saw/tools/commands.h"
#include "saw/tools/tool_session.h"

int main(int argc, char** argv) {
  CLI::App app{"orl-tool: the saw controller's engine on the command line"};
  app.set_version_flag("--version", ORL_VERSION);
  app.require_subcommand(1);
  int status = orl::kExitOk;
  orl::RegisterPlanCommand(app, status);
  orl::RegisterTotalsCommand(app, status);
  orl::RegisterSimCommand(app, status);
  orl::RegisterRunCommand(app, status);
  orl::RegisterImportCommand(app, status);
  orl::RegisterLoadPatternCommand(app, status);
  orl::RegisterHistoryCommand(app, status);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    const int cliStatus = app.exit(error);
    return cliStatus == 0 ? orl::kExitOk : orl::kExitBadArgument;
  }
  return status;
}
