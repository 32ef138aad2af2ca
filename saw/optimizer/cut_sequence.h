// Numbering of a pattern's cuts in cut-sequence steps, and the step bar that
// highlights one step in the drawing.
#pragma once

#include "saw/optimizer/optimizer_model.h"
#include "saw/optimizer/optimizer_view.h"

namespace orl {

inline constexpr const char* CutSequenceOfCaption = "Cut Sequence            of  ";

// Numbers the steps of the selected pattern (from `CurPatFirst` on): all
// level-1 cuts share step 1, and each run of deeper cuts that a lower-level
// cut interrupts opens the next step. Sets the step bar to 0 (which redraws
// the pattern when it changes) and its Min to the step count.
void ConvCutPrg(OptimizerModel& model, OptimizerView& view);

// The step bar moved: `TextShowPh` shows the value and the pattern is drawn
// again with that step highlighted. Nothing happens when the value stays.
void SetStepBar(OptimizerModel& model, OptimizerView& view, int value);

}  // namespace orl
