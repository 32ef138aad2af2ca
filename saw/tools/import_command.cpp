// orl-tool import: reads an optimizer file as the optimizer file list does
// and prints its patterns and cuts; with --pattern also the drawing and the
// cut sequence of one pattern.
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>
#include <ranges>

#include "saw/optimizer/svg_writer.h"
#include "saw/shell/number_text.h"
#include "saw/tools/commands.h"
#include "saw/tools/json_stream.h"
#include "saw/tools/optimizer_import_step.h"
#include "saw/tools/tool_session.h"

namespace orl {
namespace {

struct ImportOptions {
  std::string file;
  std::string ini;
  std::optional<int> pattern;
  std::string svg;
  bool json = false;
};

// A cut as one JSON object, each member appended as it is formatted: the
// same text nlohmann::ordered_json gives for the cut's members in this
// order, single-precision numbers as the program shows them.
void AppendCutJson(std::string& out, const PatCut& cut) {
  using namespace json_text;
  out += "{\"SourceTag\":";
  AppendString(out, cut.SourceTag);
  out += ",\"PatNo\":";
  AppendInteger(out, cut.PatNo);
  out += ",\"BoardDesc\":";
  AppendString(out, cut.BoardDesc);
  out += ",\"BoardLen\":";
  AppendShownNumber(out, cut.BoardLen);
  out += ",\"BoardWid\":";
  AppendShownNumber(out, cut.BoardWid);
  out += ",\"TrimShort\":";
  AppendShownNumber(out, cut.TrimShort);
  out += ",\"TrimLong\":";
  AppendShownNumber(out, cut.TrimLong);
  out += ",\"EndTrimWid\":";
  AppendShownNumber(out, cut.EndTrimWid);
  out += ",\"EndTrimLen\":";
  AppendShownNumber(out, cut.EndTrimLen);
  out += ",\"PatSheets\":";
  AppendInteger(out, cut.PatSheets);
  out += ",\"BookMax\":";
  AppendInteger(out, cut.BookMax);
  out += cut.LoadLong ? ",\"LoadLong\":true" : ",\"LoadLong\":false";
  out += ",\"CutDim\":";
  AppendShownNumber(out, cut.CutDim);
  out += ",\"CutLevel\":";
  AppendInteger(out, cut.CutLevel);
  out += ",\"CutQty\":";
  AppendInteger(out, cut.CutQty);
  out += ",\"PartLabel\":";
  AppendString(out, cut.PartLabel);
  out += ",\"PartRef\":";
  AppendInteger(out, cut.PartRef);
  out += ",\"SeqStep\":";
  AppendInteger(out, cut.SeqStep);
  out += ",\"BookLabels\":[";
  for (std::size_t b = 0; b < cut.BookLabels.size(); ++b) {
    if (b > 0) out += ',';
    AppendString(out, cut.BookLabels[b]);
  }
  out += "]}";
}

void PrintJson(const OptimizerModel& model, const OptimizerView& view, bool withPattern) {
  const auto asIs = [](const auto& item) { return nlohmann::ordered_json(item); };
  JsonObjectWriter out(std::cout);
  out.Member("OptFileKind", FileKindName(model.OptFileKind));
  out.ArrayMember("Pat", model.Pat.Items, asIs);
  out.ArrayMemberAppended("PatCuts", std::views::iota(std::size_t{1}, std::max<std::size_t>(1, model.PatCuts.size())),
                          [&](std::string& buffer, std::size_t i) { AppendCutJson(buffer, model.PatCuts[i]); });
  out.ArrayMember("PatBooks", model.PatBooks, asIs);
  out.Member("warnings", model.Warnings.Texts());
  if (withPattern) {
    out.ArrayMember("Parts", model.Parts.Items, asIs);
    out.Member("LBLPhases", view.LBLPhases);
    out.Member("LBLShowPh", view.LBLShowPh);
    out.Member("CurPatFirst", model.CurPatFirst);
  }
  out.End();
}

void PrintText(const OptimizerModel& model, const OptimizerView& view, bool withPattern) {
  std::cout << "kind " << FileKindName(model.OptFileKind) << "\n";
  for (const std::string& entry : model.Pat.Items) std::cout << "pattern " << entry << "\n";
  for (std::size_t i = 1; i < model.PatCuts.size(); ++i) {
    const PatCut& c = model.PatCuts[i];
    std::cout << "cut " << i << "\tpattern " << c.PatNo << "\tlevel " << c.CutLevel << "\t"
              << PlainNumberText(c.CutDim) << " x " << c.CutQty << (c.LoadLong ? "\tlong" : "\tshort") << "\tstep "
              << c.SeqStep << (c.PartLabel.empty() ? "" : "\t") << c.PartLabel << "\n";
  }
  if (!withPattern) return;
  for (const std::string& part : model.Parts.Items) std::cout << "part " << part << "\n";
  std::cout << view.LBLPhases << "\n" << view.LBLShowPh << "\n";
}

int RunImport(const ImportOptions& options) {
  ToolSession session(options.ini);
  ImportForTool(session, options.file);
  if (options.pattern) SelectPatternForTool(session, *options.pattern);
  const OptimizerModel& model = session.workstation->optimizer();
  const OptimizerView& view = session.workstation->optimizerView();
  PrintImportWarnings(model);
  if (!options.svg.empty()) {
    const std::string target = session.Resolve(options.svg);
    std::ofstream out(target, std::ios::binary);
    if (!(out << DisplayListToSvg(view.Drawing))) throw FileError("cannot write " + options.svg);
  }
  if (options.json)
    PrintJson(model, view, options.pattern.has_value());
  else
    PrintText(model, view, options.pattern.has_value());
  return kExitOk;
}

}  // namespace

void RegisterImportCommand(CLI::App& app, int& status) {
  auto options = std::make_shared<ImportOptions>();
  CLI::App* import = app.add_subcommand("import", "read an optimizer file and print its patterns and cuts");
  import->add_option("FILE", options->file, "CPOut, PTX, Ardis (.SAW) or CSV cut-record file")->required();
  import->add_option("--ini", options->ini, "settings file (default: the settings folder's ORL.INI)");
  auto* pattern =
      import->add_option("--pattern", options->pattern, "select this pattern number: drawing and cut sequence");
  import->add_option("--svg", options->svg, "write the drawing of the selected pattern as SVG")->needs(pattern);
  import->add_flag("--json", options->json, "print one JSON object");
  import->callback([options, &status] { RunCommandBody(status, [&] { return RunImport(*options); }); });
}

}  // namespace orl
