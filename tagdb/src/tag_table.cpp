#include "tag_table.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <thread>

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

// Null fields keep the record's defaults: a record holds its own row only.
TagRecord ReadRecord(sqlite3_stmt* statement, const std::array<int, kFieldCount>& columns) {
  TagRecord record;
  AssignVariant(record.name, statement, columns[kName]);
  AssignVariant(record.reg, statement, columns[kReg]);
  AssignVariant(record.regAB, statement, columns[kRegAB]);
  AssignNumber(record.scale, statement, columns[kScale]);
  AssignNumber(record.offset, statement, columns[kOffset]);
  AssignVariant(record.dataType, statement, columns[kDataType]);
  return record;
}

// The busy handler of a load: waits while the load's deadline lies ahead, so
// that all its statements together wait no longer than TagTable::kMaxWait.
int WaitUntilDeadline(void* deadline, int /*attempts*/) {
  using Clock = std::chrono::steady_clock;
  constexpr std::chrono::milliseconds kPollInterval{10};
  const Clock::duration left = *static_cast<const Clock::time_point*>(deadline) - Clock::now();
  if (left <= Clock::duration::zero()) return 0;
  std::this_thread::sleep_for(std::min<Clock::duration>(left, kPollInterval));
  return 1;
}

std::string DatabaseError(sqlite3* db, const std::string& file) {
  return file + ": " + sqlite3_errmsg(db);
}

}  // namespace

TagLoad TagTable::Load(const std::string& databaseFile, const TagTable& previous) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(databaseFile, error)) {
    return {nullptr, "no tag database file " + databaseFile};
  }
  // Read-write, so that a journal left by a crashed writer is rolled back before
  // the rows are read; SQLite falls back to read-only for a write-protected file.
  const auto deadline = std::chrono::steady_clock::now() + kMaxWait;  // outlives the connection
  sqlite3* raw = nullptr;
  if (sqlite3_open_v2(databaseFile.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    DatabaseHandle failed(raw);
    return {nullptr, raw ? DatabaseError(raw, databaseFile) : databaseFile + ": cannot open"};
  }
  DatabaseHandle db(raw);
  sqlite3_busy_handler(db.get(), WaitUntilDeadline, const_cast<void*>(static_cast<const void*>(&deadline)));
  StatementHandle statement = Prepare(db.get(), "SELECT * FROM TagData ORDER BY rowid");
  // A table declared WITHOUT ROWID has no rowid; its key order is as stable.
  if (!statement) statement = Prepare(db.get(), "SELECT * FROM TagData");
  if (!statement) return {nullptr, DatabaseError(db.get(), databaseFile)};
  auto columns = FindColumns(statement.get());
  auto table = std::make_unique<TagTable>();
  int step;
  while ((step = sqlite3_step(statement.get())) == SQLITE_ROW) {
    table->records_.push_back(ReadRecord(statement.get(), columns));
  }
  if (step != SQLITE_DONE) return {nullptr, DatabaseError(db.get(), databaseFile)};
  for (std::size_t i = 1; i < table->records_.size(); ++i) table->AddKeys(table->records_[i]);
  table->KeepRetiredKeys(previous);
  return {std::move(table), ""};
}

void TagTable::AddKeys(const TagRecord& record) {
  // An empty name or address is no key: it would match an empty lookup text.
  if (auto name = record.name.ToText(); name && !name->empty()) byName_.Add(*name, &record);
  if (auto regAB = record.regAB.ToText(); regAB && !regAB->empty()) byAddress_.Add(*regAB, &record);
}

void TagTable::KeepRetiredKeys(const TagTable& previous) {
  std::map<const TagRecord*, const TagRecord*> copies;  // one copy per record, shared by its keys
  auto keep = [&](KeyMap& map, const std::string& key, const TagRecord* record) {
    if (map.Find(key)) return;
    auto [it, added] = copies.try_emplace(record, nullptr);
    if (added) it->second = &retired_.emplace_back(*record);
    map.Add(key, it->second);
  };
  previous.byName_.ForEach([&](const std::string& key, const TagRecord* record) { keep(byName_, key, record); });
  previous.byAddress_.ForEach(
      [&](const std::string& key, const TagRecord* record) { keep(byAddress_, key, record); });
}

const TagRecord* TagTable::Lookup(const KeyMap& map, std::string_view key) {
  const TagRecord* const* record = map.Find(key);
  return record ? *record : nullptr;
}

}  // namespace queldb
