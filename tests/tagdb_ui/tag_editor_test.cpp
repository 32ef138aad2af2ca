// The tag editor on a real tag database file: NEW, DELETE, SAVE, the groups
// that follow the check boxes, the reload on close and database errors.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlQuery>

#include "queldb/db.h"
#include "ui_fixture.h"

namespace queldb::testing {
namespace {

class TagEditorTest : public UiTest {
 protected:
  void SetUp() override { CreateTagDatabase(); }

  int RowCount() { return SqlValue("SELECT COUNT(*) FROM TagData").toInt(); }

  // Runs `work` while another connection holds the file as `statements` left it.
  template <typename Work>
  void WhileHeld(const QStringList& statements, Work work) {
    {
      QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "holder");
      other.setDatabaseName(TagDatabaseFile());
      ASSERT_TRUE(other.open());
      for (const QString& statement : statements) QSqlQuery(other).exec(statement);
      work();
      QSqlQuery(other).exec("ROLLBACK");
      other.close();
    }
    QSqlDatabase::removeDatabase("holder");
  }
};

TEST_F(TagEditorTest, NewRowTakesTheDefaultsAndTheIdTheDatabaseGave) {
  Sql({"INSERT INTO TagData (ID, NAME) VALUES (16, 'Speed')"});
  OpenEditor();
  Click("NEW");

  const std::pair<const char*, const char*> shown[] = {
      {"ID", "17"},     {"NAME", "Name17"}, {"MESS", "ID17"},   {"REGAB", "40001"},   {"HHiLim", "100"},
      {"HiLim", "99"},  {"LoLim", "0"},     {"LLoLim", "0"},    {"MESSLIST", "1"},    {"ALMPRIORITY", "1"},
      {"ALMSCREEN", "1"}, {"ALMGROUP", "1"}};
  for (const auto& [field, text] : shown) EXPECT_EQ(Text(field)->text(), text) << field;
  EXPECT_TRUE(Check("ALMACTIVE")->isChecked());
  EXPECT_FALSE(Check("ALMHIST")->isChecked());
  // Saved at once, with the fields the form does not show.
  EXPECT_EQ(SqlValue("SELECT NAME || '/' || REG || '/' || Scale || '/' || BIT FROM TagData WHERE ID = 17"),
            "Name17/40001/1.0/-1");
  EXPECT_EQ(SqlValue("SELECT COUNT(*) FROM TagData WHERE Descrete IS NULL AND DataType IS NULL"), 2);
}

// DELETE removes the row shown, also after its ID was changed; the next row
// takes its place, or the new last row; on an empty table it says so and the
// editor goes on.
TEST_F(TagEditorTest, DeleteRemovesTheRowShownAndShowsItsNeighbour) {
  Sql({"INSERT INTO TagData (ID, NAME) VALUES (1, 'A')", "INSERT INTO TagData (ID, NAME) VALUES (2, 'B')",
       "INSERT INTO TagData (ID, NAME) VALUES (3, 'C')", "INSERT INTO TagData (ID, NAME) VALUES (4, 'D')"});
  OpenEditor();
  Click("DELETE");
  EXPECT_EQ(Text("NAME")->text(), "B");  // the next row took its place
  Click("Last");
  Click("DELETE");
  EXPECT_EQ(Text("NAME")->text(), "C");
  Click("First");
  Text("ID")->setText("9");  // the row moves behind the others once saved
  Click("DELETE");
  EXPECT_EQ(SqlValue("SELECT group_concat(NAME) FROM TagData"), "C");
  Click("DELETE");
  EXPECT_EQ(RowCount(), 0);
  Click("DELETE");
  EXPECT_TRUE(TakeMessage().contains("no row to delete"));
  Click("NEW");
  EXPECT_EQ(RowCount(), 1);
  EXPECT_TRUE(Text("NAME")->text().startsWith("Name"));
}

TEST_F(TagEditorTest, GroupsFollowTheCheckBoxesOfEachRow) {
  Sql({"INSERT INTO TagData (NAME, ALARMS, Descrete, LOG, Binary) VALUES ('Alarmed', 1, 0, 0, 1)",
       "INSERT INTO TagData (NAME, ALARMS, Descrete, LOG) VALUES ('Quiet', 0, 1, 1)"});
  OpenEditor();
  EXPECT_TRUE(Shown("AlarmInformation"));
  EXPECT_TRUE(Shown("AnalogLimits"));
  EXPECT_FALSE(Shown("LogFunctions"));

  Check("Descrete")->click();
  EXPECT_FALSE(Shown("AnalogLimits"));
  Check("Descrete")->click();
  EXPECT_TRUE(Shown("AnalogLimits"));

  Click("Next");
  EXPECT_FALSE(Shown("AlarmInformation"));
  EXPECT_FALSE(Shown("AnalogLimits"));
  EXPECT_TRUE(Shown("LogFunctions"));
}

TEST_F(TagEditorTest, ARenamedTagIsReadableByBothNamesAfterTheEditorCloses) {
  Sql({"INSERT INTO TagData (NAME, REGAB, Scale, \"Offset\") VALUES ('Speed', '1;40001', 1, 0)"});
  Db::LoadTagDatabase();
  Db db;
  Variant address("1;40001"), values = Variant::ArrayOf({Variant(int16_t{250})});
  int16_t count = 1, type = 0;
  int32_t from = 1, index = 0;
  db.WriteToDatabase(address, values, count, from, type);

  OpenEditor();
  Text("NAME")->setText("Velocity");
  Click("EXIT");
  EXPECT_EQ(SqlValue("SELECT NAME FROM TagData"), "Velocity");

  for (const char* name : {"Velocity", "Speed"}) {
    Variant tag(name), response;
    int16_t scaled = ioScaledWord;
    EXPECT_EQ(db.ReadPLCValue(tag, response, count, scaled, index), kTrue) << name;
    EXPECT_EQ(response.ToDouble(), 250.0) << name;
  }
}

TEST_F(TagEditorTest, ADuplicateKeyIsReportedAndTheRowCanBeCorrected) {
  Sql({"INSERT INTO TagData (ID, NAME) VALUES (1, 'A')", "INSERT INTO TagData (ID, NAME) VALUES (2, 'B')"});
  OpenEditor();
  Click("Last");
  Text("ID")->setText("1");
  Text("NAME")->setText("B2");
  Click("SAVE");
  EXPECT_TRUE(TakeMessage().contains("UNIQUE constraint failed"));
  EXPECT_EQ(SqlValue("SELECT group_concat(ID || NAME) FROM TagData"), "1A,2B");

  Text("ID")->setText("2");
  Click("SAVE");
  EXPECT_EQ(SqlValue("SELECT group_concat(ID || NAME) FROM TagData"), "1A,2B2");
  EXPECT_EQ(Text("NAME")->text(), "B2");
}

TEST_F(TagEditorTest, TextInANumericFieldIsRefusedAndNothingIsWritten) {
  Sql({"INSERT INTO TagData (NAME, Scale) VALUES ('A', 2)"});
  OpenEditor();
  Text("Scale")->setText("fast");
  Text("NAME")->setText("A2");
  Click("SAVE");
  EXPECT_TRUE(TakeMessage().contains("Scale needs a number"));
  EXPECT_EQ(SqlValue("SELECT NAME || '/' || Scale FROM TagData"), "A/2.0");
  EXPECT_EQ(Text("Scale")->text(), "fast");  // kept to be corrected
}

// A writer holding the file, or a reader that lets the row be written but
// not committed: the failure is reported and the edit is kept to be saved
// again once the file is free.
TEST_F(TagEditorTest, ALockedDatabaseIsReportedAndTheEditIsSavedOnceItIsFree) {
  Sql({"INSERT INTO TagData (NAME) VALUES ('A')"});
  OpenEditor();
  for (const QStringList& hold : {QStringList{"BEGIN EXCLUSIVE"}, QStringList{"BEGIN", "SELECT COUNT(*) FROM TagData"}}) {
    SCOPED_TRACE(hold.join("; ").toStdString());
    const QString name = "A" + QString::number(hold.size());
    Text("NAME")->setText(name);
    WhileHeld(hold, [&] {
      Click("SAVE");
      EXPECT_TRUE(TakeMessage().contains("locked"));
      EXPECT_EQ(Text("NAME")->text(), name);
    });
    Click("SAVE");
    EXPECT_EQ(SqlValue("SELECT NAME FROM TagData"), name);
  }
}

TEST_F(TagEditorTest, AMissingFileIsReportedAndNeverCreated) {
  const QString missing = TagDatabaseFile() + ".absent";
  OpenEditor(missing);
  EXPECT_TRUE(TakeMessage().contains("unable to open database file"));
  EXPECT_FALSE(QFile::exists(missing));
  Click("EXIT");
}

TEST_F(TagEditorTest, DataTypeListComesFromEnNumerations) {
  Sql({"INSERT INTO TagData (NAME, DataType) VALUES ('A', 'ioFloat')"});
  OpenEditor();
  auto* list = editor_->findChild<QComboBox*>("DataType");
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->count(), 9);
  EXPECT_EQ(list->currentText(), "ioFloat");
}

TEST_F(TagEditorTest, QueldbEditWritesAScreenshotAndRefusesAMissingOrUnsuitableDatabase) {
  Sql({"INSERT INTO TagData (NAME, ALARMS) VALUES ('Speed', 1)"});
  QTemporaryDir out;
  const QString folder = QFileInfo(TagDatabaseFile()).absolutePath();
  for (const char* command : {"edit", "about"}) {
    const QString png = out.filePath(QString(command) + ".png");
    QStringList arguments{command};
    if (qstrcmp(command, "edit") == 0) arguments << folder;
    EXPECT_EQ(QProcess::execute(QUELDB_TOOL, arguments << "--screenshot" << png), 0) << command;
    EXPECT_GT(QImage(png).width(), 100) << command;
  }
  EXPECT_EQ(QProcess::execute(QUELDB_TOOL, {"edit", out.path()}), 2);  // no file: an error status, no window

  {
    QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "no-tags");
    other.setDatabaseName(QDir(out.path()).filePath("Quelontrol.mdb"));
    ASSERT_TRUE(other.open());
    QSqlQuery(other).exec("CREATE TABLE Other (ID INTEGER)");
    other.close();
  }
  QSqlDatabase::removeDatabase("no-tags");
  const QString png = out.filePath("no-tags.png");
  EXPECT_EQ(QProcess::execute(QUELDB_TOOL, {"edit", out.path(), "--screenshot", png}), 2);  // no TagData table
  EXPECT_FALSE(QFile::exists(png));
}

}  // namespace
}  // namespace queldb::testing
