// Grooves cannot be hidden while the list has them.
#include "saw/cutlist/cut_list.h"
#include "saw/shell/text_number.h"

namespace orl {
namespace {

bool ListHasGroove(const CellGrid& grid) {
  for (int column = 1 + kGrooveOffset; column <= grid.Columns(); column += ColsPerGroup)
    for (int row = kFirstCutRow; row <= kCutListRows; ++row)
      if (Val(grid.Text(row, column)) != 0) return true;
  return false;
}

}  // namespace

void GrvCk(CutList& cutList, int grooveColumnsSetting) {
  if (ListHasGroove(cutList.grid)) {
    cutList.Grv.value = 1;
    cutList.Grv.enabled = false;
  } else {
    cutList.Grv.value = grooveColumnsSetting;
    cutList.Grv.enabled = true;
  }
  GrooveCol(cutList);
}

}  // namespace orl
