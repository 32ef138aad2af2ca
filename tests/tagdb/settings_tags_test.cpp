// KVD.INI settings and loading the tag table from the tag database.
#include <sqlite3.h>

#include <fstream>

#include "library_fixture.h"
#include "library_state.h"

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
const TagTable& Tags() { return Library().tags; }

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

TEST_F(LibraryTest, NullFieldsLeaveValuesAsTheyWere) {
  StartWithTags("Modbus", {{"NoScale", "1;40001", std::nullopt, std::nullopt}});
  EXPECT_EQ(Tags().FindByName("NoScale")->scale, 0.0);
  Exec(dir_ / "Quelontrol.mdb", "UPDATE TagData SET Scale = 3, NAME = NULL, REGAB = NULL");
  Db::LoadTagDatabase();
  Exec(dir_ / "Quelontrol.mdb", "UPDATE TagData SET Scale = NULL");
  Db::LoadTagDatabase();
  const TagRecord& record = Tags().At(1);
  EXPECT_EQ(record.scale, 3.0);
  EXPECT_EQ(*record.name.AsString(), "NoScale");
  EXPECT_EQ(*record.regAB.AsString(), "1;40001");
}

TEST_F(LibraryTest, ReloadKeepsOldKeysAndAddsNewOnes) {
  StartWithTags("Modbus", {{"Old", "1;40001"}});
  Variant values = Values({8});
  Write("1;40005", values);
  EXPECT_EQ(ReadOne("Old"), kZero);  // still at 1;40001
  Exec(dir_ / "Quelontrol.mdb", "UPDATE TagData SET NAME = 'New', REGAB = '1;40005'");
  Db::LoadTagDatabase();
  ASSERT_NE(Tags().FindByName("Old"), nullptr);
  ASSERT_NE(Tags().FindByName("new"), nullptr);
  EXPECT_EQ(*Tags().FindByName("Old")->regAB.AsString(), "1;40005");  // same record, new address
  EXPECT_NE(Tags().FindByAddress("1;40001"), nullptr);

  EXPECT_EQ(ReadOne("New"), Variant(8));
  EXPECT_EQ(ReadOne("Old"), Variant(8));

  std::filesystem::remove(dir_ / "Quelontrol.mdb");
  Db::LoadTagDatabase();  // a vanished file leaves the tags as they are
  EXPECT_NE(Tags().FindByName("New"), nullptr);
}

TEST_F(LibraryTest, RowsBeyond2000AreIgnored) {
  std::vector<TagRow> rows;
  for (int i = 1; i <= 2005; ++i) rows.push_back({"T" + std::to_string(i), "1;" + std::to_string(i)});
  StartWithTags("Modbus", rows);
  EXPECT_EQ(Tags().LoadedCount(), 2000);
  EXPECT_NE(Tags().FindByName("T2000"), nullptr);
  EXPECT_EQ(Tags().FindByName("T2001"), nullptr);
}

TEST_F(LibraryTest, BrokenOrForeignDatabaseFilesLoadNoTags) {
  std::ofstream(dir_ / "Quelontrol.mdb") << "Standard Jet DB, not SQLite";
  Start("Modbus");
  EXPECT_EQ(Tags().LoadedCount(), 0);
  std::filesystem::remove(dir_ / "Quelontrol.mdb");
  Exec(dir_ / "Quelontrol.mdb", "CREATE TABLE Other (x)");
  Start("Modbus");
  EXPECT_EQ(Tags().LoadedCount(), 0);
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
