#include "saw/plc/operator_requests.h"

namespace orl {

void DigIOClick(PlcState& state, int row, int column) {
  const auto request = SwitchRequestFor(state.DigIO, row, column, state.OutputImage, state.RelayImage);
  if (!request) return;
  (request->output ? state.OutputWrite : state.RelayWrite) = request->value;
}

void ManSndClick(PlcState& state) {
  state.ManualSend = true;
  state.manual.ManPosColor = kManPosWaitingColor;
}

}  // namespace orl
