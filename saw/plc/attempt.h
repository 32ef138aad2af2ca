#pragma once
// "A failing step is skipped": runs one step and swallows whatever it
// throws, so a tick or an end sequence goes on with the next step.
#include <utility>

namespace orl {

// True when the step ran to its end.
template <typename Step>
bool Attempt(Step&& step) noexcept {
  try {
    std::forward<Step>(step)();
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace orl
