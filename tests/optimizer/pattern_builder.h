// Builds an imported pattern model in memory for preview and sequence tests.
#pragma once

#include <initializer_list>
#include <string>

#include "saw/optimizer/optimizer_model.h"

namespace orl::test {

struct PatternBuilder {
  OptimizerModel model;
  PatCut board;  // the board fields every added cut copies

  PatternBuilder(float length, float width, std::int16_t patNo = 1) {
    board.PatNo = patNo;
    board.BoardLen = length;
    board.BoardWid = width;
    board.BoardDesc = "Board";
  }
  PatternBuilder& Cut(int level, float dim, bool loadLong, int qty = 1, const std::string& label = "") {
    PatCut cut = board;
    cut.CutLevel = static_cast<std::int16_t>(level);
    cut.CutDim = dim;
    cut.LoadLong = loadLong;
    cut.CutQty = static_cast<std::int16_t>(qty);
    cut.PartLabel = label;
    model.AddCut(cut, true, 0);
    return *this;
  }
  // Cuts of the given levels, odd levels loaded long.
  PatternBuilder& Levels(std::initializer_list<int> levels) {
    for (int level : levels) Cut(level, 10, level % 2 != 0);
    return *this;
  }
  PatternBuilder& Pattern(std::int16_t patNo) {
    board.PatNo = patNo;
    return *this;
  }
  OptimizerModel& Selected(int index = 0) {
    model.Pat.ListIndex = index;
    return model;
  }
};

}  // namespace orl::test
