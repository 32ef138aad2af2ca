#include "library_state.h"

#include <atomic>
#include <mutex>
#include <shared_mutex>
#include <utility>

namespace queldb {
namespace {

std::atomic<uint64_t> generation{0};

void NewGeneration() { generation.fetch_add(1, std::memory_order_relaxed); }

LibraryState* StartUp() {
  auto* state = new LibraryState();
  state->settings.systemFolder = SystemFolder();
  LoadSettings(state->settings);
  LoadTagDatabase(*state);
  return state;
}

// Deliberately never deleted (but by a test's reset): static destructors of a
// host run in an order the library cannot know.
LibraryState*& Instance() {
  static LibraryState* instance = StartUp();
  return instance;
}

}  // namespace

LibraryState& Library() { return *Instance(); }

void LoadTagDatabase(LibraryState& state) {
  std::lock_guard oneLoad(state.reloadMutex);
  // Only a load replaces the table, so it may be read here without `lock`.
  TagLoad load = TagTable::Load(TagDatabaseFile(state.settings), *state.tags);
  std::unique_ptr<const TagTable> replaced;  // freed once readers may go on
  std::unique_lock write(state.lock);
  state.loadError = std::move(load.error);
  if (load.table) {
    replaced = std::exchange(state.tags, std::move(load.table));
    NewGeneration();
  }
  write.unlock();
}

std::string TagDatabaseFile(const Settings& settings) {
  return settings.databaseFolder + kTagDatabaseFileName;
}

uint64_t ResolutionGeneration() { return generation.load(std::memory_order_relaxed); }

void ResetLibraryState() {
  LibraryState* fresh = StartUp();
  delete std::exchange(Instance(), fresh);
  NewGeneration();
}

}  // namespace queldb
