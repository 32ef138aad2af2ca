#include "saw/plc/operator_alert.h"

namespace orl {
namespace {

std::string LinkAlert(const PlcState& state) {
  std::string text = kAlertLinkLost;
  if (!state.LinkLostCause.empty()) text += kAlertCauseSeparator + state.LinkLostCause;
  return text;
}

std::string LabelAlert(const PlcState& state) {
  const std::size_t waiting = state.labels.Count();
  return kAlertLabelsHead + std::to_string(waiting) + (waiting == 1 ? kAlertLabelWaiting : kAlertLabelsWaiting);
}

}  // namespace

std::string OperatorAlert(const PlcState& state) {
  std::string text;
  if (state.LinkLost) text = LinkAlert(state);
  if (!state.labels.Empty()) text += (text.empty() ? "" : kAlertSeparator) + LabelAlert(state);
  return text;
}

}  // namespace orl
