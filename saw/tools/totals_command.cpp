// orl-tool totals: recomputes every group's total and remainders as typing
// its first cut would, and writes the program back.
#include <iostream>
#include <nlohmann/json.hpp>

#include "saw/cutlist/cut_list.h"
#include "saw/cutlist/cut_program_file.h"
#include "saw/cutlist/cut_program_files.h"
#include "saw/shell/text_number.h"
#include "saw/tools/commands.h"
#include "saw/tools/tool_session.h"

namespace orl {
namespace {

struct TotalsOptions {
  std::string program;
  std::string ini;
  std::string out;
  bool json = false;
};

bool GroupHasBoardOrCut(const CellGrid& grid, int positionColumn) {
  for (int row = kTotalRow; row <= kCutListRows; ++row)
    if (Val(grid.Text(row, positionColumn)) != 0) return true;
  return false;
}

nlohmann::json GroupTotals(const CellGrid& grid, int group) {
  const int p = PositionColumnOfGroup(group);
  nlohmann::json remainders = nlohmann::json::array();
  for (int row = kFirstCutRow; row <= kCutListRows && Val(grid.Text(row, p)) != 0; ++row)
    remainders.push_back(grid.Text(row, p + kRmdrOffset));
  return {{"group", group}, {"total", grid.Text(kTotalRow, p)}, {"remainders", remainders}};
}

int RunTotals(const TotalsOptions& options) {
  ToolSession session(options.ini);
  session.LoadProgram(options.program);
  Workstation& ws = *session.workstation;
  const CellGrid& grid = ws.cutList().grid;
  nlohmann::json groups = nlohmann::json::array();
  for (int group = 1; PositionColumnOfGroup(group) <= grid.Columns(); ++group) {
    const int p = PositionColumnOfGroup(group);
    if (!GroupHasBoardOrCut(grid, p)) continue;
    // Computed as such, not as an edit: an edit of an empty row would give
    // it a quantity of 1, and the saved program a cut the operator never made.
    ws.RecomputeGroup(group);
    groups.push_back(GroupTotals(grid, group));
  }
  const std::string target = session.Resolve(options.out.empty() ? options.program : options.out);
  std::error_code writeError;
  if (!SaveCutProgramFile(target, grid, writeError))
    throw FileError(CannotWriteMessage(target, writeError));
  if (options.json) {
    std::cout << nlohmann::json{{"groups", groups}}.dump() << "\n";
  } else {
    for (const auto& g : groups) {
      std::cout << "group " << g["group"] << "\ttotal " << g["total"].get<std::string>() << "\tremainders";
      for (const auto& r : g["remainders"]) std::cout << " " << r.get<std::string>();
      std::cout << "\n";
    }
  }
  return kExitOk;
}

}  // namespace

void RegisterTotalsCommand(CLI::App& app, int& status) {
  auto options = std::make_shared<TotalsOptions>();
  CLI::App* totals = app.add_subcommand("totals", "recompute group totals and remainders and save the program");
  totals->add_option("PROGRAM", options->program, "cut program file")->required();
  totals->add_option("--ini", options->ini, "settings file (default: the settings folder's ORL.INI)");
  totals->add_option("--out", options->out, "write here instead of back in place");
  totals->add_flag("--json", options->json, "print one JSON object");
  totals->callback([options, &status] { RunCommandBody(status, [&] { return RunTotals(*options); }); });
}

}  // namespace orl
