#include "saw/history/history_row_text.h"

#include <charconv>
#include <cstdio>
#include <ctime>

namespace orl {
namespace {

constexpr double kMillimetresPerInch = 25.4;

}  // namespace

std::string LocalTimeText(std::int64_t timeMs, LocalTimeParts parts) {
  const std::time_t seconds = static_cast<std::time_t>(timeMs / 1000);
  std::tm local{};
  localtime_r(&seconds, &local);
  const char* format = parts == LocalTimeParts::Time ? "%H:%M:%S" : parts == LocalTimeParts::Date ? "%Y-%m-%d" : "%Y-%m-%d %H:%M:%S";
  char text[32];
  std::strftime(text, sizeof text, format, &local);
  return text;
}

std::string RecordLabel(const CutRecord& record) {
  switch (record.kind) {
    case CutKind::Restart: return kRestartLabel;
    case CutKind::Manual: return kManualLabel;
    case CutKind::Cut: break;
  }
  if (record.book.empty()) return record.part;
  if (record.part.empty()) return record.book;
  return record.book + " / " + record.part;
}

std::string LengthInUnit(const CutRecord& record, bool inch, int decimals) {
  const std::string wanted = inch ? "in" : "mm";
  double value = 0;
  const char* first = record.length.data();
  const char* last = first + record.length.size();
  const auto [end, error] = std::from_chars(first, last, value);
  if (record.length.empty() || error != std::errc() || end != last) return record.length + " " + record.unit;
  if (record.unit != wanted) value = inch ? value / kMillimetresPerInch : value * kMillimetresPerInch;
  char text[48];
  std::snprintf(text, sizeof text, "%.*f %s", decimals, value, wanted.c_str());
  return text;
}

HistoryRowText RowText(const CutRecord& record, bool inch, int decimals, bool withDate) {
  HistoryRowText row;
  row.time = LocalTimeText(record.timeMs, withDate ? LocalTimeParts::DateAndTime : LocalTimeParts::Time);
  row.program = record.program;
  if (record.kind == CutKind::Cut) row.group = std::to_string(record.group);
  if (record.kind != CutKind::Restart) row.length = LengthInUnit(record, inch, decimals);
  row.label = RecordLabel(record);
  return row;
}

}  // namespace orl
