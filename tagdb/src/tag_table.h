// The tags loaded from the TagData table, and the two case-insensitive maps
// that find them by name and by PLC address text. A table is built whole by
// one load and never changed afterwards, so readers may share it freely.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "keyed_map.h"
#include "queldb/variant.h"

namespace queldb {

struct TagRecord {
  Variant name;
  Variant reg;
  Variant regAB;
  double scale = 0;
  double offset = 0;
  Variant dataType;
};

inline constexpr const char* kTagDatabaseFileName = "Quelontrol.mdb";

class TagTable;

// A finished load: the new table, or the reason there is none.
struct TagLoad {
  std::unique_ptr<TagTable> table;  // null when the file could not be read whole
  std::string error;                // empty when the table was read whole
};

class TagTable {
 public:
  // How long a load waits, in all, for a database that another process has locked.
  static constexpr std::chrono::milliseconds kMaxWait{5000};

  TagTable() : records_(1) {}
  TagTable(const TagTable&) = delete;  // the maps point into the table itself
  TagTable& operator=(const TagTable&) = delete;

  // Reads every row of TagData from the file, however many; within
  // one load the first record of a name or address keeps it. A name or address
  // that `previous` knew and the file no longer holds stays resolvable, to the
  // record it had then, never to another tag's. Waits for a lock, rolls back a
  // journal left by a crashed writer; a missing, unreadable or damaged file
  // gives no table and the reason.
  static TagLoad Load(const std::string& databaseFile, const TagTable& previous);

  // Nullptr when the name or address text is not a key.
  const TagRecord* FindByName(std::string_view name) const { return Lookup(byName_, name); }
  const TagRecord* FindByAddress(std::string_view regAB) const { return Lookup(byAddress_, regAB); }
  // Record `index` (1 .. LoadedCount) of the load that built the table.
  const TagRecord& At(int32_t index) const { return records_.at(static_cast<std::size_t>(index)); }
  // Rows read by the load that built the table.
  int32_t LoadedCount() const { return static_cast<int32_t>(records_.size()) - 1; }

 private:
  using KeyMap = CaseInsensitiveMap<const TagRecord*>;

  static const TagRecord* Lookup(const KeyMap& map, std::string_view key);
  void AddKeys(const TagRecord& record);
  void KeepRetiredKeys(const TagTable& previous);

  std::vector<TagRecord> records_;
  std::deque<TagRecord> retired_;  // copies of records whose keys outlived them
  KeyMap byName_;
  KeyMap byAddress_;
};

}  // namespace queldb
