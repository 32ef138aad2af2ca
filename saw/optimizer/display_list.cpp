#include "saw/optimizer/display_list.h"

namespace orl {

bool DisplayList::Add(DrawOp op) {
  if (ops_.size() >= MaxOps) {
    full_ = true;
    return false;
  }
  ops_.push_back(std::move(op));
  return true;
}

}  // namespace orl
