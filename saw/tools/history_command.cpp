// orl-tool history: the production history file the settings name, oldest
// record first, as a table, CSV or JSON Lines. It reads the file only (the
// saw may be writing it meanwhile) and starts no workstation and no PLC link.
#include <ctime>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <sstream>

#include "saw/history/cut_record_format.h"
#include "saw/history/history_row_text.h"
#include "saw/history/history_settings.h"
#include "saw/history/history_store.h"
#include "saw/shell/orl_settings.h"
#include "saw/tools/commands.h"
#include "saw/tools/tool_session.h"

namespace orl {
namespace {

struct HistoryOptions {
  std::string ini;
  std::string since;
  std::string until;
  bool csv = false;
  bool json = false;
};

std::filesystem::path SettingsFile(const std::string& iniFile) {
  const std::filesystem::path file = iniFile.empty() ? DefaultSettingsFile() : iniFile;
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error))
    throw FileError(iniFile.empty() ? "no settings file: looked for " + file.string() +
                                          "; name one with --ini FILE or set " + kSettingsFolderVariable
                                    : "cannot read settings file " + iniFile);
  return file;
}

std::int64_t TimeOption(const std::string& name, const std::string& text, bool wholeDay, std::int64_t unset) {
  if (text.empty()) return unset;
  const auto ms = ParseTimeText(text, wholeDay);
  if (!ms) throw std::invalid_argument(name + " " + text + ": not a date (YYYY-MM-DD) or time (YYYY-MM-DDTHH:MM[:SS][Z])");
  return *ms;
}

HistoryRange RangeOf(const HistoryOptions& options) {
  HistoryRange range;
  range.fromMs = TimeOption("--since", options.since, false, range.fromMs);
  range.untilMs = TimeOption("--until", options.until, true, range.untilMs);
  return range;
}

// Fixed widths, as the table is written before the longest value is known.
void PrintTableRow(std::ostream& out, const std::string& time, const std::string& kind, const std::string& program,
                   const std::string& group, const std::string& length, const std::string& label) {
  out << std::left << std::setw(20) << time << std::setw(8) << kind << std::setw(24) << program << std::right
      << std::setw(5) << group << "  " << std::setw(14) << length << "  " << label << "\n";
}

void PrintTableRecord(std::ostream& out, const CutRecord& r) {
  const std::string length = r.length.empty() ? "" : r.length + " " + r.unit;
  PrintTableRow(out, LocalTimeText(r.timeMs, LocalTimeParts::DateAndTime), CutKindName(r.kind), r.program, std::to_string(r.group), length,
                RecordLabel(r));
}

HistoryStore OpenHistory(const std::filesystem::path& file, const std::filesystem::path& settingsFile) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error))
    throw FileError("no history file " + file.string() + " (HistoryPath in [System] of " + settingsFile.string() +
                    ")");
  try {
    return HistoryStore::OpenReadOnly(file);
  } catch (const HistoryError& failure) {
    throw FileError(std::string("cannot read history: ") + failure.what());
  }
}

int RunHistory(const HistoryOptions& options) {
  const HistoryRange range = RangeOf(options);
  const std::filesystem::path settingsFile = SettingsFile(options.ini);
  const HistorySettings settings =
      ReadHistorySettings(ProfileFile(settingsFile), std::filesystem::absolute(settingsFile).parent_path());
  const HistoryStore store = OpenHistory(settings.file, settingsFile);
  std::ostream& out = std::cout;
  if (options.csv) out << CutCsvHeader() << "\n";
  if (!options.csv && !options.json) PrintTableRow(out, "time", "kind", "program", "group", "length", "label");
  try {
    store.ForEach(range, [&](const CutRecord& record) {
      if (options.csv) out << CutCsvLine(record) << "\n";
      else if (options.json) out << CutJson(record) << "\n";
      else PrintTableRecord(out, record);
    });
  } catch (const HistoryError& failure) {
    throw FileError(std::string("cannot read history: ") + failure.what());
  }
  out.flush();
  return kExitOk;
}

}  // namespace

void RegisterHistoryCommand(CLI::App& app, int& status) {
  auto options = std::make_shared<HistoryOptions>();
  CLI::App* history = app.add_subcommand("history", "print the production history, oldest first");
  history->add_option("--ini", options->ini, "settings file (default: the settings folder's ORL.INI)");
  history->add_option("--since", options->since, "from this date or time (local, or UTC with Z)");
  history->add_option("--until", options->until, "up to this time, or to the end of this date");
  CLI::Option* csv = history->add_flag("--csv", options->csv, "CSV with a header line");
  history->add_flag("--json", options->json, "one JSON object per line")->excludes(csv);
  history->callback([options, &status] { RunCommandBody(status, [&] { return RunHistory(*options); }); });
}

}  // namespace orl
