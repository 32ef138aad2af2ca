// The state shared by every Db in the process: settings, tag table, value
// store, write queue and hand-off slot. Set up once, on first use, before the
// first Db is complete.
#pragma once

#include <string>

#include "keyed_map.h"
#include "queldb/variant.h"
#include "read_cache.h"
#include "settings.h"
#include "tag_table.h"
#include "write_queue.h"

namespace queldb {

struct HandoffSlot {
  Variant value;  // Empty, 0 or False: nothing waiting
  Variant address;
};

struct LibraryState {
  Settings settings;
  TagTable tags;
  CaseInsensitiveMap<Variant> values;
  WriteQueue queue;
  HandoffSlot handoff;
  ReadCache readCache;
};

// The process-wide state; the first call runs the start-up procedure.
LibraryState& Library();
// Reloads the tag table from TagDatabaseFile.
void LoadTagDatabase(LibraryState& state);
// The tag database file: the database folder followed by "Quelontrol.mdb".
std::string TagDatabaseFile(const Settings& settings);
// Tests only: discards all state and runs the start-up procedure again.
void ResetLibraryState();

}  // namespace queldb
