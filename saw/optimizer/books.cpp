#include "saw/optimizer/books.h"

namespace orl {

std::int16_t SelectedBook(const OptimizerView& view) {
  for (int i = 0; i < BookButtonCount; ++i)
    if (view.Bks[i].Value) return static_cast<std::int16_t>(i + 1);
  return 0;
}

void SelectBook(OptimizerView& view, int index) {
  for (int i = 0; i < BookButtonCount; ++i) view.Bks[i].Value = i == index;
}

void AdvBooks(OptimizerView& view) {
  const int next = SelectedBook(view);
  // Past the last button of the array there is nothing to show: wrap.
  const bool nextShown = next < BookButtonCount && view.Bks[next].Visible;
  SelectBook(view, nextShown ? next : 0);
}

}  // namespace orl
