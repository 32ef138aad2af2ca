#pragma once
// What the scan loop's sequencing asks of the rest of the program. The
// workstation implements it over the cut list, the optimizer's book
// buttons and the parameter grids; the PLC layer never reaches up itself.
#include <optional>
#include <string>

#include "saw/cutlist/positions.h"
#include "saw/plc/label_file.h"
#include "saw/shell/cell_grid.h"

namespace orl {

class ScanHost {
 public:
  virtual ~ScanHost() = default;

  // Rebuilds positions from the cut list's selected groups; true when
  // there is something to cut.
  virtual bool MakePositions(PosList& positions) = 0;
  // Moves the cut list's current cell.
  virtual void SetCurrentCell(int row, int column) = 0;
  // Highlights the cell being cut; (0, 0) removes the highlight.
  virtual void HiLiteCell(int row, int column) = 0;
  // "Disable Programming" on or off: the cut list, its file list,
  // description, column-mode boxes, "Clear", "Save" and units are locked
  // while on; when off they are unlocked and "Grooving" follows the groove
  // check. Reported on every tick.
  virtual void SetProgrammingDisabled(bool disabled) = 0;
  // 1-based number of the selected book button; 0 when none is selected.
  virtual int SelectedBook() = 0;
  // Selects the next book button, wrapping to the first.
  virtual void AdvBooks() = 0;
  // Book label `book` of the part cut at (row, group) of the loaded
  // pattern; nullopt when that cut has no list or no such entry.
  virtual std::optional<std::string> BookLabel(int row, int group, int book) = 0;
  // The machine parameter grid (creep distance, clamp and template length).
  virtual const CellGrid& MacPar() = 0;
  // The label file named in the paths grid ("Print Path/Name"), as stored.
  virtual std::string LabelFilePath() = 0;
  // Appends one label line to the label file, whole or not at all; false
  // when the file did not take it.
  virtual bool AppendLabelLine(const std::string& path, const std::string& label) {
    return AppendBookLabel(path, label);
  }
  // The record of the last hand-over is committed (or the history cannot
  // be written and said so): the next one may be served.
  virtual bool RecordsCaughtUp() { return true; }
};

}  // namespace orl
