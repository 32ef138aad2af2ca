#pragma once
// The shapes a cut record leaves the program in: one CSV line (the History
// tab's "Export CSV…" and `orl-tool history --csv`), one JSON object (the
// plant's payload and `orl-tool history --json`), and the date and time
// texts the operator reads.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "saw/history/cut_record.h"

namespace orl {

// The header line, without line end.
std::string CutCsvHeader();
// One record as a CSV line without line end; fields holding a comma, quote
// or line end are quoted.
std::string CutCsvLine(const CutRecord& record);
// One record as a JSON object on one line.
std::string CutJson(const CutRecord& record);

// "2026-12-09T08:30:05.123Z"
std::string UtcTimeText(std::int64_t timeMs);
// A date "YYYY-MM-DD" or a time "YYYY-MM-DDTHH:MM[:SS]", in this machine's
// local time, or in UTC with a trailing "Z": milliseconds since 1970;
// nullopt for anything else. `wholeDay` makes a bare date stand for the end
// of that day (the start of the next), as an "until" date means it.
std::optional<std::int64_t> ParseTimeText(std::string_view text, bool wholeDay = false);
// Milliseconds in a day.
inline constexpr std::int64_t kDayMs = 86'400'000;

}  // namespace orl
