#pragma once
// Where the saw reports its production: the plant's MQTT broker.
#include <filesystem>
#include <string>

namespace orl {

struct PlantSettings {
  std::string host;
  int port = 1883;
  std::string sawName;  // names the saw's topics (orl/<sawName>/...) and its client id
  // Holds the records not yet acknowledged by the broker, so they outlive
  // the broker's absence and a restart of the program.
  std::filesystem::path persistenceFolder;
};

}  // namespace orl
