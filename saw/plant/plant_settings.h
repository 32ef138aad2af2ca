#pragma once
// Where the saw reports its production: the plant's MQTT broker.
#include <filesystem>
#include <string>

namespace orl {

struct PlantSettings {
  std::string host;
  int port = 1883;
  std::string sawName;  // names the saw's topics (orl/<sawName>/...) and its client id
  // Holds the delivery mark: how far the broker has acknowledged the history.
  std::filesystem::path persistenceFolder;
  // The history file the records come from; those after the mark are
  // read from it again after a restart or when too many wait in memory.
  std::filesystem::path historyFile;
};

}  // namespace orl
