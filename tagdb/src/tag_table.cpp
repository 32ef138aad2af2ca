#include "tag_table.h"

#include <array>
#include <filesystem>
#include <optional>

#include "sqlite_handles.h"
#include "text_util.h"

namespace queldb {
namespace {

enum Field { kName, kReg, kRegAB, kScale, kOffset, kDataType, kFieldCount };
constexpr std::array<const char*, kFieldCount> kFieldNames = {"NAME", "REG", "REGAB",
                                                              "Scale", "Offset", "DataType"};

// Column index of each field, matched without regard to case; -1 when absent.
std::array<int, kFieldCount> FindColumns(sqlite3_stmt* statement) {
  std::array<int, kFieldCount> columns;
  columns.fill(-1);
  for (int c = 0; c < sqlite3_column_count(statement); ++c) {
    std::string column = ToUpperAscii(sqlite3_column_name(statement, c));
    for (int f = 0; f < kFieldCount; ++f) {
      if (column == ToUpperAscii(kFieldNames[f])) columns[f] = c;
    }
  }
  return columns;
}

// The column as a variant; nullopt for Null or an absent column.
std::optional<Variant> ColumnValue(sqlite3_stmt* statement, int column) {
  if (column < 0) return std::nullopt;
  switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER: {
      sqlite3_int64 value = sqlite3_column_int64(statement, column);
      if (value >= INT32_MIN && value <= INT32_MAX) return Variant(static_cast<int32_t>(value));
      return Variant(static_cast<double>(value));
    }
    case SQLITE_FLOAT:
      return Variant(sqlite3_column_double(statement, column));
    case SQLITE_NULL:
      return std::nullopt;
    default: {
      auto text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
      return Variant(std::string(text ? text : ""));
    }
  }
}

void AssignVariant(Variant& field, sqlite3_stmt* statement, int column) {
  if (auto value = ColumnValue(statement, column)) field = std::move(*value);
}

void AssignNumber(double& field, sqlite3_stmt* statement, int column) {
  auto value = ColumnValue(statement, column);
  if (!value) return;
  if (auto number = value->ToDouble()) field = *number;
}

}  // namespace

void TagTable::Load(const std::string& databaseFile) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(databaseFile, error)) return;
  DatabaseHandle db = OpenDatabase(databaseFile.c_str(), SQLITE_OPEN_READONLY);
  if (!db) return;
  StatementHandle statement = Prepare(db.get(), "SELECT * FROM TagData ORDER BY rowid");
  // A table declared WITHOUT ROWID has no rowid; its key order is as stable.
  if (!statement) statement = Prepare(db.get(), "SELECT * FROM TagData");
  if (!statement) return;
  auto columns = FindColumns(statement.get());
  int32_t index = 1;
  while (index <= kMaxTags && sqlite3_step(statement.get()) == SQLITE_ROW) {
    TagRecord& record = records_[static_cast<std::size_t>(index)];
    AssignVariant(record.name, statement.get(), columns[kName]);
    AssignVariant(record.reg, statement.get(), columns[kReg]);
    AssignVariant(record.regAB, statement.get(), columns[kRegAB]);
    AssignNumber(record.scale, statement.get(), columns[kScale]);
    AssignNumber(record.offset, statement.get(), columns[kOffset]);
    AssignVariant(record.dataType, statement.get(), columns[kDataType]);
    AddKeys(index);
    ++index;
  }
  loadedCount_ = index - 1;
}

void TagTable::AddKeys(int32_t index) {
  const TagRecord& record = records_[static_cast<std::size_t>(index)];
  // An empty name or address is no key: it would match an empty lookup text.
  if (auto name = record.name.ToText(); name && !name->empty()) byName_.Add(*name, index);
  if (auto regAB = record.regAB.ToText(); regAB && !regAB->empty()) byAddress_.Add(*regAB, index);
}

const TagRecord* TagTable::Lookup(const CaseInsensitiveMap<int32_t>& map, std::string_view key) const {
  const int32_t* index = map.Find(key);
  return index ? &records_[static_cast<std::size_t>(*index)] : nullptr;
}

const TagRecord* TagTable::FindByName(std::string_view name) const { return Lookup(byName_, name); }

const TagRecord* TagTable::FindByAddress(std::string_view regAB) const { return Lookup(byAddress_, regAB); }

}  // namespace queldb
