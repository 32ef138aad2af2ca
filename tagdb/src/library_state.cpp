#include "library_state.h"

#include <memory>

namespace queldb {
namespace {

std::unique_ptr<LibraryState> StartUp() {
  auto state = std::make_unique<LibraryState>();
  state->settings.systemFolder = SystemFolder();
  LoadSettings(state->settings);
  LoadTagDatabase(*state);
  return state;
}

std::unique_ptr<LibraryState>& Instance() {
  static std::unique_ptr<LibraryState> instance = StartUp();
  return instance;
}

}  // namespace

LibraryState& Library() { return *Instance(); }

void LoadTagDatabase(LibraryState& state) {
  state.tags.Load(TagDatabaseFile(state.settings));
  state.readCache.Clear();
}

std::string TagDatabaseFile(const Settings& settings) {
  return settings.databaseFolder + kTagDatabaseFileName;
}

void ResetLibraryState() { Instance() = StartUp(); }

}  // namespace queldb
