#pragma once
// One line of the saw's production history: a target handed over to the PLC
// (recorded once the relay word that hands it over has been written), a
// manual position, or a restart of the list at its first entry.
#include <cstdint>
#include <string>

namespace orl {

enum class CutKind { Cut, Manual, Restart };

// "cut", "manual", "restart"; the name is what the files and the plant read.
const char* CutKindName(CutKind kind);
// nullopt-free parse for stored rows: an unknown name reads as a cut.
CutKind CutKindFromName(const std::string& name);

struct CutRecord {
  std::int64_t seq = 0;     // never repeats on this saw; given when stored
  std::int64_t timeMs = 0;  // UTC, milliseconds since 1970
  CutKind kind = CutKind::Cut;
  std::string program;      // cut program file name ("" for a list never saved)
  std::string description;  // the cut list's description
  int group = 0;            // 1-based; 0 for a manual position
  int row = 0, column = 0;  // the cut list cell the target came from
  std::int32_t target = 0;  // the pusher target sent, 0.1 mm
  std::string length;       // the length as the operator typed it
  std::string unit;         // the unit it was typed in: "mm" or "in"
  bool newBoard = false;
  bool groove = false;      // groove stroke
  std::string book;         // book label a pattern load gave, else ""
  std::string part;         // part label a pattern load gave, else ""
};

}  // namespace orl
