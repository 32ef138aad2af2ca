// The tags loaded from the TagData table, and the two case-insensitive maps
// that find them by name and by PLC address text.
#pragma once

#include <cstdint>
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

class TagTable {
 public:
  static constexpr int32_t kMaxTags = 2000;  // indexes 1..2000; 0 is never used

  TagTable() : records_(kMaxTags + 1) {}

  // Loads every row of TagData from the file, rows past 2000 ignored. A missing
  // or unreadable file changes nothing; each field's failure is skipped. Records
  // reached are overwritten; map keys already present keep their first index.
  void Load(const std::string& databaseFile);

  // Nullptr when the name or address text is not a key.
  const TagRecord* FindByName(std::string_view name) const;
  const TagRecord* FindByAddress(std::string_view regAB) const;
  const TagRecord& At(int32_t index) const { return records_.at(static_cast<std::size_t>(index)); }
  // Rows visited by the last load that found the file.
  int32_t LoadedCount() const { return loadedCount_; }

 private:
  const TagRecord* Lookup(const CaseInsensitiveMap<int32_t>& map, std::string_view key) const;
  void AddKeys(int32_t index);

  std::vector<TagRecord> records_;
  CaseInsensitiveMap<int32_t> byName_;
  CaseInsensitiveMap<int32_t> byAddress_;
  int32_t loadedCount_ = 0;
};

}  // namespace queldb
