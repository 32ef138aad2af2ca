#pragma once
// What every part of the main window shares: the workstation it renders and
// the one way to forward an operator's event to it (the event runs, then
// the whole window is rendered afresh).
#include <functional>

#include "saw/workstation/workstation.h"

namespace orl {

struct WindowContext {
  Workstation& ws;
  std::function<void(const std::function<void()>&)> forward;

  void Forward(const std::function<void()>& event) const { forward(event); }
};

}  // namespace orl
