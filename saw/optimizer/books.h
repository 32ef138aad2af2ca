// The book selector: one option button per book of sheets of the loaded
// pattern. The scan loop asks which book is cut and moves on to the next.
#pragma once

#include <cstdint>

#include "saw/optimizer/optimizer_view.h"

namespace orl {

// 1-based number of the first selected book button; 0 when none is.
std::int16_t SelectedBook(const OptimizerView& view);

// Selects the button after the selected one when it is visible, otherwise
// the first; so books advance in order and wrap after the last shown one.
void AdvBooks(OptimizerView& view);

// Selects button `index` (from 0) and clears the others, as option buttons do.
void SelectBook(OptimizerView& view, int index);

}  // namespace orl
