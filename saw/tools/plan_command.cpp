// orl-tool plan: the pusher targets MakePositions makes of a cut program.
#include <iostream>
#include <nlohmann/json.hpp>

#include "saw/tools/commands.h"
#include "saw/tools/tool_session.h"

namespace orl {
namespace {

struct PlanOptions {
  std::string program;
  std::string ini;
  int fromColumn = 1;
  int toColumn = 0;  // 0: the same as fromColumn
  bool json = false;
};

void PrintPlan(const PosList& positions, bool result, bool json) {
  if (json) {
    nlohmann::json entries = nlohmann::json::array();
    for (int i = 1; i <= UpperBound(positions); ++i) {
      const PosEntry& e = positions[i];
      entries.push_back({{"Target", e.Target}, {"CellRow", e.CellRow}, {"CellCol", e.CellCol},
                         {"NewBoard", e.NewBoard}, {"GrooveStroke", e.GrooveStroke}});
    }
    std::cout << nlohmann::json{{"result", result}, {"entries", entries}}.dump() << "\n";
    return;
  }
  std::cout << (result ? "something to cut" : "nothing to cut") << "\n";
  for (int i = 1; i <= UpperBound(positions); ++i) {
    const PosEntry& e = positions[i];
    std::cout << i << "\t" << e.Target << "\trow " << e.CellRow << "\tcol " << e.CellCol
              << (e.NewBoard ? "\tnew board" : "") << (e.GrooveStroke ? "\tgroove" : "") << "\n";
  }
}

int RunPlan(const PlanOptions& options) {
  if (options.toColumn > 0 && options.toColumn < options.fromColumn)
    throw std::invalid_argument("--to-col " + std::to_string(options.toColumn) + " is left of --from-col " +
                                std::to_string(options.fromColumn));
  ToolSession session(options.ini);
  session.LoadProgram(options.program);
  Workstation& ws = *session.workstation;
  ws.ChooseColumnsForRun(options.fromColumn, options.toColumn > 0 ? options.toColumn : options.fromColumn);
  PosList positions;
  const bool result = ws.MakePositions(positions);
  PrintPlan(positions, result, options.json);
  return kExitOk;
}

}  // namespace

void RegisterPlanCommand(CLI::App& app, int& status) {
  auto options = std::make_shared<PlanOptions>();
  CLI::App* plan = app.add_subcommand("plan", "print the pusher targets of a cut program");
  plan->add_option("PROGRAM", options->program, "cut program file")->required();
  plan->add_option("--ini", options->ini, "settings file (default: the settings folder's ORL.INI)");
  plan->add_option("--from-col", options->fromColumn, "first selected column")->check(CLI::Range(1, 198));
  plan->add_option("--to-col", options->toColumn, "last selected column")->check(CLI::Range(1, 198));
  plan->add_flag("--json", options->json, "print one JSON object");
  plan->callback([options, &status] { RunCommandBody(status, [&] { return RunPlan(*options); }); });
}

}  // namespace orl
