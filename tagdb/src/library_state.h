// The state shared by every Db in the process: settings, tag table, value
// store, write queue and hand-off slot. Set up once, on first use, and never
// destroyed, so that a host may still call from its static destructors.
//
// Locking: `settings` is fixed after start-up. `tags`, `loadError` and the
// key set of `values` are read under a shared hold of `lock` and changed under
// an exclusive one, each for one call; the only exclusive holds are a tag load
// swapping its table and a write adding keys never stored before. The stored
// values themselves are published through `sequence` (value_cell.h), so a read
// never waits for a write in progress. A read of registers whose items its
// thread found before takes no hold at all: it keeps pointers to the items
// (read_cache.h), which stay valid whatever keys are added, since none is
// ever removed; a tag load drops them by changing the resolution generation.
// Writes take turns on `writeMutex`. The queue and the hand-off slot have
// locks of their own. Never take `lock` twice in one thread: a waiting writer
// goes first.
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "keyed_map.h"
#include "queldb/variant.h"
#include "settings.h"
#include "shared_lock.h"
#include "tag_table.h"
#include "value_cell.h"
#include "write_queue.h"

namespace queldb {

struct HandoffSlot {
  std::mutex mutex;
  Variant value;  // Empty, 0 or False: nothing waiting
  Variant address;
};

struct LibraryState {
  Settings settings;
  WriterFirstLock lock;
  // No removal: a stored item keeps its address for the life of the state.
  CaseInsensitiveMap<ValueCell> values;
  ValueSequence sequence;
  std::mutex writeMutex;
  std::unique_ptr<const TagTable> tags = std::make_unique<TagTable>();
  std::string loadError;  // of the last tag load; empty when it read the file whole
  WriteQueue queue;
  HandoffSlot handoff;
  std::mutex reloadMutex;  // one tag load at a time
};

// The process-wide state; the first call runs the start-up procedure.
LibraryState& Library();
// Reloads the tag table from TagDatabaseFile. A load that fails keeps the
// tags as they were and records why in loadError.
void LoadTagDatabase(LibraryState& state);
// The tag database file: the database folder followed by "Quelontrol.mdb".
std::string TagDatabaseFile(const Settings& settings);
// Changes whenever remembered address resolutions and value locations may
// have gone stale (a tag reload, a reset). A read that has yet to see the
// change, with or without `lock`, reads as before it.
uint64_t ResolutionGeneration();
// Tests only, with no other thread in the library: discards all state and
// runs the start-up procedure again.
void ResetLibraryState();

}  // namespace queldb
