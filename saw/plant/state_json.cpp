#include "saw/plant/state_json.h"

#include <nlohmann/json.hpp>

namespace orl {

std::string OnlineStateJson(const SawState& state) {
  const nlohmann::ordered_json json = {
      {"state", "online"}, {"program", state.program}, {"group", state.group}, {"plc", state.plcUp ? "up" : "down"}};
  // A program name that is not UTF-8 still reaches the plant, with
  // replacement characters.
  return json.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

std::string OfflineStateJson() { return R"({"state":"offline"})"; }

}  // namespace orl
