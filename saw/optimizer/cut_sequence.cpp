#include "saw/optimizer/cut_sequence.h"

#include "saw/optimizer/eval_number.h"
#include "saw/optimizer/pattern_preview.h"

namespace orl {

namespace {
constexpr int SequencedLevels = 10;
}

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
  while (end < model.PatCuts.size() && model.PatCuts[end].PatNo == pattern) ++end;

  int offset = 0, lastLevel = 1, lastStep = 0;
  for (int f = 1; f <= SequencedLevels; ++f) {
    for (std::size_t i = first; i < end; ++i) {
      PatCut& cut = model.PatCuts[i];
      if (cut.CutLevel == f) {
        cut.SeqStep = ToInt16(f + offset);
        lastLevel = f;
        lastStep = f + offset;
      } else if (f > 1 && lastLevel == f && cut.CutLevel < f && lastStep == f + offset) {
        ++offset;  // a lower cut ends this run of level-f cuts
      }
    }
  }
  view.LBLShowPh = CutSequenceOfCaption + std::to_string(lastStep);
  view.VScrollPH.Min = lastStep;
  view.VScrollPH.Max = 0;
}

}  // namespace orl
