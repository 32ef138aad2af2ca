#include "saw/optimizer/cut_sequence.h"

#include <vector>

#include "saw/optimizer/eval_number.h"
#include "saw/optimizer/pattern_preview.h"

namespace orl {

namespace {
constexpr int SequencedLevels = 10;

bool Sequenced(std::int16_t level) { return level >= 1 && level <= SequencedLevels; }

// A level without cuts leaves its step empty; the later steps close up, as
// the pattern load closes up its empty groups, so that step n is always
// group n of the loaded list. Returns the number of steps.
int CloseUpEmptySteps(PatCutList& cuts, std::size_t first, std::size_t end, int lastStep) {
  std::vector<int> renumbered(static_cast<std::size_t>(lastStep) + 1, 0);
  for (std::size_t i = first; i < end; ++i)
    if (Sequenced(cuts.CutLevel(i))) renumbered[cuts.SeqStep(i)] = 1;
  int steps = 0;
  for (int& step : renumbered)
    if (step != 0) step = ++steps;
  for (std::size_t i = first; i < end; ++i)
    if (Sequenced(cuts.CutLevel(i))) cuts.SetSeqStep(i, ToInt16(renumbered[cuts.SeqStep(i)]));
  return steps;
}

}  // namespace

void SetStepBar(OptimizerModel& model, OptimizerView& view, int value) {
  if (view.VScrollPH.Value == value) return;
  view.VScrollPH.Value = value;
  view.TextShowPh = std::to_string(value);
  ShowGraphic(model, view);
}

void ConvCutPrg(OptimizerModel& model, OptimizerView& view) {
  const std::int16_t pattern = SelectedPatternNumber(model);
  SetStepBar(model, view, 0);
  // The pattern's cuts: from its first record while the number holds.
  std::size_t first = static_cast<std::size_t>(model.CurPatFirst < 1 ? 1 : model.CurPatFirst);
  std::size_t end = first;
  PatCutList& cuts = model.PatCuts;
  while (end < cuts.size() && cuts.PatNo(end) == pattern) ++end;

  int offset = 0, lastLevel = 1, lastStep = 0;
  for (int f = 1; f <= SequencedLevels; ++f) {
    for (std::size_t i = first; i < end; ++i) {
      const std::int16_t level = cuts.CutLevel(i);
      if (level == f) {
        cuts.SetSeqStep(i, ToInt16(f + offset));
        lastLevel = f;
        lastStep = f + offset;
      } else if (f > 1 && lastLevel == f && level < f && lastStep == f + offset) {
        ++offset;  // a lower cut ends this run of level-f cuts
      }
    }
  }
  lastStep = CloseUpEmptySteps(cuts, first, end, lastStep);
  view.LBLShowPh = CutSequenceOfCaption + std::to_string(lastStep);
  view.VScrollPH.Min = lastStep;
  view.VScrollPH.Max = 0;
}

}  // namespace orl
