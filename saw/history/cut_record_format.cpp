#include "saw/history/cut_record_format.h"

#include <cstdio>
#include <ctime>
#include <nlohmann/json.hpp>

namespace orl {
namespace {

std::string CsvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

}  // namespace

const char* CutKindName(CutKind kind) {
  switch (kind) {
    case CutKind::Manual: return "manual";
    case CutKind::Restart: return "restart";
    case CutKind::Cut: break;
  }
  return "cut";
}

CutKind CutKindFromName(const std::string& name) {
  if (name == "manual") return CutKind::Manual;
  if (name == "restart") return CutKind::Restart;
  return CutKind::Cut;
}

std::string CutCsvHeader() {
  return "seq,time,kind,program,description,group,row,column,target_0.1mm,length,unit,new_board,groove,book,part";
}

std::string CutCsvLine(const CutRecord& r) {
  std::string line = std::to_string(r.seq) + ',' + UtcTimeText(r.timeMs) + ',' + CutKindName(r.kind) + ',';
  line += CsvField(r.program) + ',' + CsvField(r.description) + ',';
  line += std::to_string(r.group) + ',' + std::to_string(r.row) + ',' + std::to_string(r.column) + ',';
  line += std::to_string(r.target) + ',' + CsvField(r.length) + ',' + CsvField(r.unit) + ',';
  line += std::string(r.newBoard ? "1" : "0") + ',' + (r.groove ? "1" : "0") + ',';
  return line + CsvField(r.book) + ',' + CsvField(r.part);
}

std::string CutJson(const CutRecord& r) {
  const nlohmann::ordered_json json = {
      {"seq", r.seq},         {"time", UtcTimeText(r.timeMs)}, {"time_ms", r.timeMs},
      {"kind", CutKindName(r.kind)},
      {"program", r.program}, {"description", r.description},  {"group", r.group},
      {"row", r.row},         {"column", r.column},            {"target_tenths_mm", r.target},
      {"length", r.length},   {"unit", r.unit},                {"new_board", r.newBoard},
      {"groove", r.groove},   {"book", r.book},                {"part", r.part}};
  // Text that is not UTF-8 (an old program's description) is sent with
  // replacement characters rather than not at all.
  return json.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

std::string UtcTimeText(std::int64_t timeMs) {
  const std::time_t seconds = static_cast<std::time_t>(timeMs / 1000 - (timeMs % 1000 < 0 ? 1 : 0));
  const int millis = static_cast<int>(timeMs - static_cast<std::int64_t>(seconds) * 1000);
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", utc.tm_year + 1900, utc.tm_mon + 1,
                utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, millis);
  return text;
}

std::optional<std::int64_t> ParseTimeText(std::string_view text, bool wholeDay) {
  const bool utc = !text.empty() && (text.back() == 'Z' || text.back() == 'z');
  if (utc) text.remove_suffix(1);
  std::tm tm{};
  int used = 0;
  const std::string s(text);
  const bool dateOnly = s.size() == 10;
  if (dateOnly) {
    if (std::sscanf(s.c_str(), "%4d-%2d-%2d%n", &tm.tm_year, &tm.tm_mon, &tm.tm_mday, &used) != 3) return std::nullopt;
  } else {
    const int fields = std::sscanf(s.c_str(), "%4d-%2d-%2dT%2d:%2d%n:%2d%n", &tm.tm_year, &tm.tm_mon, &tm.tm_mday,
                                   &tm.tm_hour, &tm.tm_min, &used, &tm.tm_sec, &used);
    if (fields < 5) return std::nullopt;
  }
  if (used != static_cast<int>(s.size())) return std::nullopt;
  if (tm.tm_mon < 1 || tm.tm_mon > 12 || tm.tm_mday < 1 || tm.tm_mday > 31 || tm.tm_hour > 23 || tm.tm_min > 59 ||
      tm.tm_sec > 60)
    return std::nullopt;
  const int day = tm.tm_mday;
  tm.tm_year -= 1900;
  tm.tm_mon -= 1;
  if (dateOnly && wholeDay) ++tm.tm_mday;  // normalized by the conversion
  tm.tm_isdst = -1;
  const std::time_t seconds = utc ? timegm(&tm) : std::mktime(&tm);
  if (seconds == static_cast<std::time_t>(-1)) return std::nullopt;
  // A day the month does not have ("2026-02-30") is not a date.
  if (!(dateOnly && wholeDay) && tm.tm_mday != day) return std::nullopt;
  return static_cast<std::int64_t>(seconds) * 1000;
}

}  // namespace orl
