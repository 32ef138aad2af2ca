#include "library_fixture.h"

#include <sqlite3.h>
#include <stdlib.h>

#include <fstream>

#include "library_state.h"

namespace queldb {

void PrintTo(const Variant& value, std::ostream* out) {
  static const char* const kTypeNames[] = {"Empty", "Boolean", "Integer", "Long",
                                           "Single", "Double", "String", "Array"};
  *out << kTypeNames[static_cast<int>(value.Type())];
  if (value.IsArray()) {
    *out << "(";
    for (std::size_t i = 1; i <= value.Count(); ++i) {
      if (i > 1) *out << ", ";
      PrintTo(*value.Element(static_cast<int64_t>(i)), out);
    }
    *out << ")";
  } else if (!value.IsEmpty()) {
    *out << "(" << value.ToText().value_or("") << ")";
  }
}

}  // namespace queldb

namespace queldb::testing {

void WriteTagDatabase(const std::filesystem::path& file, const std::vector<TagRow>& rows) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
  sqlite3_exec(db,
               "CREATE TABLE TagData (ID INTEGER PRIMARY KEY AUTOINCREMENT, NAME TEXT, REG TEXT,"
               " REGAB TEXT, Scale REAL, \"Offset\" REAL, DataType TEXT)",
               nullptr, nullptr, nullptr);
  // One transaction for all rows: a commit per row makes 2000 rows take seconds.
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(db, "INSERT INTO TagData (NAME, REG, REGAB, Scale, \"Offset\") VALUES (?,?,?,?,?)",
                     -1, &insert, nullptr);
  for (const TagRow& row : rows) {
    sqlite3_bind_text(insert, 1, row.name.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(insert, 2, row.regAB.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(insert, 3, row.regAB.c_str(), -1, SQLITE_TRANSIENT);
    row.scale ? sqlite3_bind_double(insert, 4, *row.scale) : sqlite3_bind_null(insert, 4);
    row.offset ? sqlite3_bind_double(insert, 5, *row.offset) : sqlite3_bind_null(insert, 5);
    EXPECT_EQ(sqlite3_step(insert), SQLITE_DONE);
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  EXPECT_EQ(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
}

LibraryTest::LibraryTest() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tagdb-test-XXXXXX").string();
  dir_ = mkdtemp(pattern.data());
  setenv("QUELDB_SYSTEM_DIR", dir_.c_str(), 1);
}

LibraryTest::~LibraryTest() { std::filesystem::remove_all(dir_); }

void LibraryTest::Start(const std::string& device, const std::string& databaseFolder) {
  std::ofstream ini(dir_ / "KVD.INI");
  ini << "[IOType]\nIODevice=" << device << "\n";
  if (!databaseFolder.empty()) ini << "[DatabasePath]\npDatabasePath=" << databaseFolder << "\n";
  ini.close();
  ResetLibraryState();
}

void LibraryTest::StartWithTags(const std::string& device, const std::vector<TagRow>& rows) {
  WriteTagDatabase(dir_ / "Quelontrol.mdb", rows);
  Start(device);
}

int16_t LibraryTest::Read(Variant address, Variant& response, int16_t numOfRegs, int16_t ioType,
                          int32_t ioIdx) {
  Db db;
  return db.ReadPLCValue(address, response, numOfRegs, ioType, ioIdx);
}

Variant LibraryTest::ReadOne(Variant address, int16_t ioType, int32_t ioIdx) {
  Variant response;
  Read(std::move(address), response, 1, ioType, ioIdx);
  return response;
}

Variant LibraryTest::Write(Variant address, Variant values, int16_t numOfRegs, int32_t fromStart,
                           int16_t ioType) {
  Db db;
  db.WriteToDatabase(address, values, numOfRegs, fromStart, ioType);
  return address;
}

}  // namespace queldb::testing
