// The preview of the selected pattern: board outline, trims and every cut
// line coloured by level, the current cut-sequence step in white, the parts
// list and the captions of the import frame.
#pragma once

#include "saw/optimizer/optimizer_model.h"
#include "saw/optimizer/optimizer_view.h"

namespace orl {

inline constexpr int MaxDrawnLevel = 10;
inline constexpr const char* PhasesCaption = "# Phases:  ";

// Draws the pattern whose number leads the selected `Pat` entry. Reads the
// step to highlight from `TextShowPh`. Sets `CurPatFirst` and
// `ShownPatternKey` when the pattern has cuts.
void ShowGraphic(OptimizerModel& model, OptimizerView& view);

// The number of the selected `Pat` entry (0 when none is selected).
std::int16_t SelectedPatternNumber(const OptimizerModel& model);

// Pen colour of a cut level: 1 green, 2 magenta, 3 blue, others black.
PenColor LevelColor(int level);

}  // namespace orl
