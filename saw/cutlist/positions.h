#pragma once
// The pusher targets of a run: `BuildPositionList` turns the selected cut
// groups of the cut list into `PosList`, which the scan loop hands to the
// PLC entry by entry. The workstation's `MakePositions` (what the scan loop
// calls) builds it and refuses a list over the limit with a warning.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace orl {

class CutList;
class CellGrid;

struct PosEntry {
  std::int32_t Target = 0;  // tenths of a millimetre: absolute position, or the move in relative mode
  std::int32_t CellRow = 0;  // cut-list row the entry was made from (3 for a board's head entry)
  std::int32_t CellCol = 0;  // the group's Position column
  bool NewBoard = false;     // the head entry of a group
  bool GrooveStroke = false; // an entry of a cut with a groove
};

// Entries are numbered from 1; element 0 is an unused placeholder, so the
// list's upper bound is size() - 1.
using PosList = std::vector<PosEntry>;

// A list holding only the placeholder: nothing made yet.
inline PosList EmptyPosList() { return PosList(1); }

inline int UpperBound(const PosList& list) { return static_cast<int>(list.size()) - 1; }

struct PositionSettings {
  bool absoluteMode = false;
};

// The most entries a list may hold (about 32 MB). Every quantity and groove
// a cut list can hold is accepted; only a list this long is refused, so an
// absurd program cannot exhaust memory.
inline constexpr std::size_t kMaxPosEntries = 2'000'000;

// Rebuilds posList from the operator's groups: the block selection, or
// without a block the column the operator last chose (a single group runs
// to the end of the list). runningPos carries the last absolute target
// between calls. Returns true when the list holds more than one entry or
// its single entry has a non-zero target. A groove with a saw kerf of 0
// counts as a single stroke. A list that would pass kMaxPosEntries is
// refused before any entry is made: posList is left empty, runningPos
// unchanged, the result is false and *tooLong (when given) is set.
bool BuildPositionList(CutList& cutList, const CellGrid& macPar, bool absoluteMode, std::int32_t& runningPos,
                       PosList& posList, bool* tooLong = nullptr);

}  // namespace orl
