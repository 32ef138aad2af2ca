#pragma once
// One record as a line of the History tab: local time, program, group,
// the length in the unit the cut list now shows, and its label.
#include <cstdint>
#include <string>

#include "saw/history/cut_record.h"

namespace orl {

inline constexpr const char* kRestartLabel = "Restart of the list";
inline constexpr const char* kManualLabel = "Manual position";

struct HistoryRowText {
  std::string time;  // "HH:MM:SS", with "YYYY-MM-DD " before it when asked
  std::string program;
  std::string group;   // "" for a manual position or a restart
  std::string length;  // with its unit, "" for a restart
  std::string label;   // book and part label, or what the record was
};

// `inch` and `decimals`: the cut list's unit and its decimal places. A
// length typed in the other unit is converted; one that is no number is
// shown as typed with the unit it was typed in.
HistoryRowText RowText(const CutRecord& record, bool inch, int decimals, bool withDate);

// "YYYY-MM-DD HH:MM:SS" (or only the time, or only the day) in this
// machine's local time.
enum class LocalTimeParts { DateAndTime, Time, Date };
std::string LocalTimeText(std::int64_t timeMs, LocalTimeParts parts);
// The book and part label of a cut, or what a manual position or a
// restart is.
std::string RecordLabel(const CutRecord& record);

// The length as the operator typed it, in the unit asked for.
std::string LengthInUnit(const CutRecord& record, bool inch, int decimals);

}  // namespace orl
