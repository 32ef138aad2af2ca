#pragma once
#include "saw/shell/clock.h"
#include "saw/shell/ui.h"

namespace orl {

// Returns once more than `seconds` have passed on clock, pumping window
// events all the while. A clock that wraps at midnight still waits the full
// time.
void WaitSeconds(float seconds, const Clock& clock, Ui& ui);

}  // namespace orl
