// orl-tool load-pattern: imports an optimizer file, selects a pattern,
// answers Yes to the question, loads the pattern into the cut list and
// saves the list as a cut program.
#include <iostream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "saw/cutlist/cut_program_file.h"
#include "saw/cutlist/cut_program_files.h"
#include "saw/cutlist/pattern_load.h"
#include "saw/tools/commands.h"
#include "saw/tools/optimizer_import_step.h"
#include "saw/tools/tool_session.h"

namespace orl {
namespace {

struct LoadPatternOptions {
  std::string file;
  int pattern = 0;
  std::string out;
  std::string ini;
  bool json = false;
};

nlohmann::ordered_json BookCaptions(const OptimizerView& view) {
  nlohmann::ordered_json captions = nlohmann::ordered_json::array();
  if (!view.FrameBooksVisible) return captions;
  for (const OptionButton& button : view.Bks)
    if (button.Visible) captions.push_back(button.Caption);
  return captions;
}

nlohmann::ordered_json BookLabelsJson(const CutBookLabels& labels) {
  nlohmann::ordered_json cells = nlohmann::ordered_json::array();
  for (int row = 1; row <= kCutListRows; ++row)
    for (int group = 1; group <= kCutListGroups; ++group)
      if (const auto* entry = labels.At(row, group))
        cells.push_back({{"row", row}, {"group", group}, {"labels", *entry}});
  return cells;
}

int RunLoadPattern(const LoadPatternOptions& options) {
  ToolSession session(options.ini);
  ImportForTool(session, options.file);
  SelectPatternForTool(session, options.pattern);
  Workstation& ws = *session.workstation;
  PrintImportWarnings(ws.optimizer());
  session.ui.answerYes = true;
  ws.LoadPatternClicked();
  const OptimizerView& view = ws.optimizerView();
  const CutBookLabels& labels = ws.cutBookLabels();
  const std::string units = ws.cutList().InchSelected() ? "Inch" : "Metric";
  // The report is made before the program is written: nothing may fail
  // once the write has happened.
  std::ostringstream report;
  if (options.json) {
    report << nlohmann::ordered_json{{"Desc", ws.cutList().Desc},
                                     {"LoadedPatternKey", ws.optimizer().LoadedPatternKey},
                                     {"Units", units},
                                     {"Bks", BookCaptions(view)},
                                     {"CutBookLabels", BookLabelsJson(labels)}}
                  .dump()
           << "\n";
  } else {
    report << ws.cutList().Desc << "\nunits " << units << "\nloaded " << ws.optimizer().LoadedPatternKey << "\n";
  }
  const std::string target = session.Resolve(options.out);
  std::error_code writeError;
  if (!SaveCutProgramFile(target, ws.cutList().grid, writeError))
    throw FileError(CannotWriteMessage(options.out, writeError));
  std::cout << report.str();
  return kExitOk;
}

}  // namespace

void RegisterLoadPatternCommand(CLI::App& app, int& status) {
  auto options = std::make_shared<LoadPatternOptions>();
  CLI::App* load = app.add_subcommand("load-pattern", "load one pattern of an optimizer file into a cut program");
  load->add_option("FILE", options->file, "CPOut, PTX, Ardis (.SAW) or CSV cut-record file")->required();
  load->add_option("--pattern", options->pattern, "pattern number")->required();
  load->add_option("--out", options->out, "cut program to write")->required();
  load->add_option("--ini", options->ini, "settings file (default: the settings folder's ORL.INI)");
  load->add_flag("--json", options->json, "print one JSON object");
  load->callback([options, &status] { RunCommandBody(status, [&] { return RunLoadPattern(*options); }); });
}

}  // namespace orl
