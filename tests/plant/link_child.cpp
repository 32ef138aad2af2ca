// plant_link_child <port> <sawName> <persistenceFolder> <program> <group>...
// Links to the broker on 127.0.0.1:<port>, publishes one state per group
// given, then waits to be killed: the broker sees the link die unannounced.
#include <unistd.h>

#include <filesystem>
#include <string>

#include "saw/plant/plant_link.h"

int main(int argc, char** argv) {
  if (argc < 6) return 2;
  const std::filesystem::path folder = argv[3];
  orl::PlantLink link({"127.0.0.1", std::stoi(argv[1]), argv[2], folder, folder / "history.sqlite"});
  for (int i = 5; i < argc; ++i) link.PublishState({argv[4], std::stoi(argv[i]), true});
  for (;;) pause();
}
