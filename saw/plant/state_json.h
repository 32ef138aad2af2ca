#pragma once
// The retained texts on orl/<sawName>/state that tell the plant whether the
// saw is up and what it is cutting.
#include <string>

#include "saw/history/recorder.h"

namespace orl {

// {"state":"online","program":"...","group":3,"plc":"up"}
std::string OnlineStateJson(const SawState& state);
// {"state":"offline"}: the last will, and what a clean shutdown leaves.
std::string OfflineStateJson();

}  // namespace orl
