// KVD.INI settings and loading the tag table from the tag database.
#include <sqlite3.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "library_fixture.h"
#include "library_state.h"
#include "tag_fields.h"

namespace queldb::testing {
namespace {

void Exec(const std::filesystem::path& file, const std::string& sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
  char* error = nullptr;
  EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
  sqlite3_free(error);
  sqlite3_close(db);
}

const Settings& CurrentSettings() { return Library().settings; }
const TagTable& Tags() { return *Library().tags; }

TEST_F(LibraryTest, ProtocolNamesMatchExactly) {
  const std::pair<const char*, int16_t> names[] = {
      {"Modbus", 1}, {"ModbusPlus", 2}, {"ABDH", 3},  {"ABDHPlus", 4},
      {"PLCDirectECOM", 5}, {"PLCDirect", 6}, {"modbus", 0}, {"", 0}};
  for (auto [name, code] : names) {
    Start(name);
    EXPECT_EQ(CurrentSettings().protocolCode, code) << name;
  }
}

TEST_F(LibraryTest, MissingSettingsFileGivesDefaults) {
  ResetLibraryState();
  EXPECT_EQ(CurrentSettings().protocolCode, 0);
  EXPECT_EQ(CurrentSettings().databaseFolder, dir_.string() + "/");
  EXPECT_EQ(Tags().LoadedCount(), 0);
}

TEST_F(LibraryTest, DatabaseFolderIsAPlainPrefix) {
  std::filesystem::create_directory(dir_ / "db");
  WriteTagDatabase(dir_ / "db" / "Quelontrol.mdb", {{"A", "1;40001"}});
  Start("Modbus", (dir_ / "db").string());  // no trailing separator: file not found
  EXPECT_EQ(Tags().LoadedCount(), 0);
  Start("Modbus", (dir_ / "db").string() + "/");
  EXPECT_EQ(Tags().LoadedCount(), 1);
  EXPECT_EQ(Db::TagDatabaseFile(), (dir_ / "db").string() + "/Quelontrol.mdb");
  Start("Modbus", (dir_ / "db").string() + "\\");  // the original platform's separator
  EXPECT_EQ(Tags().LoadedCount(), 1);
}

TEST_F(LibraryTest, SettingValuesAreCutAt99Characters) {
  std::string longFolder = "/" + std::string(120, 'x') + "/";
  Start("Modbus", longFolder);
  EXPECT_EQ(CurrentSettings().databaseFolder, longFolder.substr(0, 99));
}

TEST_F(LibraryTest, DuplicateNamesMapToTheFirstRecord) {
  StartWithTags("Modbus", {{"Same", "1;40001"}, {"SAME", "1;40002"}});
  EXPECT_EQ(Tags().LoadedCount(), 2);
  EXPECT_EQ(*Tags().FindByName("same")->regAB.AsString(), "1;40001");
  EXPECT_EQ(*Tags().FindByAddress("1;40002")->name.AsString(), "SAME");
}

TEST_F(LibraryTest, NullFieldsReadAsDefaultsNeverAsAnotherRowsValues) {
  StartWithTags("Modbus", {{"First", "1;40001", 2.0, 0.0}, {"Second", "1;40002", std::nullopt, std::nullopt}});
  EXPECT_EQ(Tags().FindByName("Second")->scale, 0.0);
  Exec(dir_ / "Quelontrol.mdb", "DELETE FROM TagData WHERE NAME = 'First'");
  Db::LoadTagDatabase();
  const TagRecord& record = Tags().At(1);  // where First was
  EXPECT_EQ(*record.name.AsString(), "Second");
  EXPECT_EQ(record.scale, 0.0);  // its own Null, not First's 2
}

TEST_F(LibraryTest, DeletedOrRenamedTagsKeepOnlyTheirOwnAddress) {
  StartWithTags("Modbus", {{"Gone", "1;40001"}, {"Kept", "1;40002"}, {"Old", "1;40003"}});
  Write("1;40001", Values({1, 2, 3, 4, 5}), 5);
  Exec(dir_ / "Quelontrol.mdb",
       "DELETE FROM TagData WHERE NAME = 'Gone';"
       "UPDATE TagData SET NAME = 'New', REGAB = '1;40005' WHERE NAME = 'Old'");
  Db::LoadTagDatabase();
  EXPECT_EQ(ReadOne("Gone"), Variant(1));  // not Kept's value, which now comes first
  EXPECT_EQ(ReadOne("Kept"), Variant(2));
  EXPECT_EQ(ReadOne("New"), Variant(5));
  EXPECT_EQ(ReadOne("old"), Variant(3));
  EXPECT_EQ(Tags().LoadedCount(), 2);

  std::filesystem::remove(dir_ / "Quelontrol.mdb");
  Db::LoadTagDatabase();  // a vanished file leaves the tags as they are, and says so
  EXPECT_EQ(ReadOne("New"), Variant(5));
  EXPECT_EQ(Db::Status().TagCount, 2);
  EXPECT_NE(Db::Status().LoadError.find("Quelontrol.mdb"), std::string::npos);
}

// Not SQLite, no TagData table, a damaged page: no tags, never half a table, and the reason.
TEST_F(LibraryTest, BrokenForeignOrDamagedDatabaseFilesLoadNoTagsAndSayWhy) {
  std::ofstream(dir_ / "Quelontrol.mdb") << "Standard Jet DB, not SQLite";
  Start("Modbus");
  EXPECT_EQ(Tags().LoadedCount(), 0);
  EXPECT_NE(Db::Status().LoadError.find("not a database"), std::string::npos) << Db::Status().LoadError;
  std::filesystem::remove(dir_ / "Quelontrol.mdb");
  Exec(dir_ / "Quelontrol.mdb", "CREATE TABLE Other (x)");
  Start("Modbus");
  EXPECT_EQ(Tags().LoadedCount(), 0);
  EXPECT_NE(Db::Status().LoadError.find("no such table: TagData"), std::string::npos);

  std::filesystem::remove(dir_ / "Quelontrol.mdb");
  std::vector<TagRow> rows;
  for (int i = 1; i <= 2000; ++i) rows.push_back({"Tag" + std::to_string(i) + std::string(50, 'x'), "1;1"});
  WriteTagDatabase(dir_ / "Quelontrol.mdb", rows);
  {
    std::fstream file(dir_ / "Quelontrol.mdb", std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(20 * 4096);  // a page in the middle of the table
    file << std::string(4096, '\xFF');
  }
  Start("Modbus");
  EXPECT_EQ(Db::Status().TagCount, 0);
  EXPECT_NE(Db::Status().LoadError.find("malformed"), std::string::npos) << Db::Status().LoadError;
}

TEST_F(LibraryTest, LoadWaitsForALockHeldByAnotherWriter) {
  WriteTagDatabase(dir_ / "Quelontrol.mdb", {{"First", "1;40001"}});
  sqlite3* writer = nullptr;
  ASSERT_EQ(sqlite3_open((dir_ / "Quelontrol.mdb").c_str(), &writer), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(writer, "BEGIN EXCLUSIVE; INSERT INTO TagData (NAME, REGAB) VALUES ('Second', '1;40002')",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  std::thread commit([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    sqlite3_exec(writer, "COMMIT", nullptr, nullptr, nullptr);
  });
  Start("Modbus");
  commit.join();
  sqlite3_close(writer);
  EXPECT_EQ(Tags().LoadedCount(), 2);
  EXPECT_EQ(Db::Status().LoadError, "");
}

TEST_F(LibraryTest, LoadGivesUpOnALockHeldThroughoutAfterItsWaitInAll) {
  StartWithTags("Modbus", {{"First", "1;40001"}});
  sqlite3* writer = nullptr;
  ASSERT_EQ(sqlite3_open((dir_ / "Quelontrol.mdb").c_str(), &writer), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(writer, "BEGIN EXCLUSIVE; DELETE FROM TagData", nullptr, nullptr, nullptr), SQLITE_OK);
  const auto start = std::chrono::steady_clock::now();
  Db::LoadTagDatabase();
  const auto waited = std::chrono::steady_clock::now() - start;
  sqlite3_exec(writer, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(writer);
  // Not a second wait for the fallback query: one wait, then the reason.
  EXPECT_GE(waited, TagTable::kMaxWait);
  EXPECT_LT(waited, TagTable::kMaxWait + std::chrono::seconds(2));
  EXPECT_NE(Db::Status().LoadError.find("locked"), std::string::npos) << Db::Status().LoadError;
  EXPECT_EQ(Db::Status().TagCount, 1);
}

// More than 2000 rows are held, also from a file a crashed writer left.
TEST_F(LibraryTest, JournalLeftByACrashedWriterIsRolledBack) {
  std::vector<TagRow> rows;
  for (int i = 1; i <= 2005; ++i) rows.push_back({"Tag" + std::to_string(i) + std::string(200, 'x'), "1;1"});
  WriteTagDatabase(dir_ / "live.mdb", rows);
  // A half-done transaction whose pages have spilled into the file: copied
  // with its journal, it is what a writer that crashed leaves behind.
  sqlite3* writer = nullptr;
  ASSERT_EQ(sqlite3_open((dir_ / "live.mdb").c_str(), &writer), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(writer,
                         "PRAGMA cache_size = 10; BEGIN; UPDATE TagData SET NAME = 'half' || NAME;"
                         "DELETE FROM TagData WHERE ID > 10",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  std::filesystem::copy_file(dir_ / "live.mdb", dir_ / "Quelontrol.mdb");
  std::filesystem::copy_file(dir_ / "live.mdb-journal", dir_ / "Quelontrol.mdb-journal");
  sqlite3_exec(writer, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(writer);
  Start("Modbus");
  EXPECT_EQ(Db::Status().TagCount, 2005);
  EXPECT_EQ(Db::Status().LoadError, "");
  EXPECT_NE(Tags().FindByName(rows[2004].name), nullptr);
}

// A key given twice takes the first value.
TEST_F(LibraryTest, CommentsAfterValuesAreNotPartOfThem) {
  std::ofstream(dir_ / "KVD.INI") << "; QuelDB settings\n[IOType]\nIODevice=Modbus    ; or ABDH\nIODevice=ABDH\n"
                                  << "[DatabasePath]\npDatabasePath=\"" << dir_.string() << "/a;b/\"  ; quoted\n";
  ResetLibraryState();
  LibraryStatus status = Db::Status();
  EXPECT_EQ(status.ProtocolCode, 1);
  EXPECT_EQ(status.DatabaseFolder, dir_.string() + "/a;b/");
  EXPECT_EQ(WithoutComment("  /var/lib/queldb/   ; a prefix"), "/var/lib/queldb/");
}

TEST_F(LibraryTest, MissingColumnsAndOddValueTypesAreSkippedPerField) {
  Exec(dir_ / "Quelontrol.mdb",
       "CREATE TABLE TagData (name TEXT, regab INTEGER, scale TEXT);"
       "INSERT INTO TagData VALUES ('Count', 40001, 'abc'), ('', '1;40002', '2');");
  Start("Modbus");
  EXPECT_EQ(Tags().LoadedCount(), 2);
  const TagRecord* count = Tags().FindByName("Count");
  ASSERT_NE(count, nullptr);
  EXPECT_EQ(count->scale, 0.0);
  EXPECT_EQ(Tags().FindByAddress("40001"), count);  // a numeric address is keyed as its text
  EXPECT_EQ(Tags().FindByName(""), nullptr);        // an empty name is no key
  EXPECT_EQ(Tags().At(2).scale, 2.0);
}

}  // namespace
}  // namespace queldb::testing

namespace {

TEST(TagFields, NumberFieldsTakeNumbersOnlyAndNamesAnyCase) {
  using queldb::FieldKind;
  using queldb::FieldTakesText;
  EXPECT_TRUE(FieldTakesText(FieldKind::Integer, " -3 "));
  EXPECT_FALSE(FieldTakesText(FieldKind::Integer, "1.5"));
  EXPECT_TRUE(FieldTakesText(FieldKind::Real, "1e3"));
  EXPECT_FALSE(FieldTakesText(FieldKind::Real, "inf"));
  EXPECT_FALSE(FieldTakesText(FieldKind::Real, "12,5"));
  EXPECT_TRUE(FieldTakesText(FieldKind::Integer, ""));  // Null
  EXPECT_TRUE(FieldTakesText(FieldKind::Text, "anything"));
  ASSERT_NE(queldb::FindTagField("hhilim"), nullptr);
  EXPECT_EQ(queldb::FindTagField("hhilim")->name, "HHiLim");
  EXPECT_EQ(queldb::FindTagField("Colour"), nullptr);
}

}  // namespace
