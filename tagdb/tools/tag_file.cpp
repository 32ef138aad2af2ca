#include "tag_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>

#include "csv.h"
#include "sqlite_handles.h"
#include "tag_fields.h"
#include "tag_table.h"

namespace queldb::tool {
namespace {

namespace fs = std::filesystem;

// The column as the table declares it: a number field's new-tag value is
// its default.
std::string Declaration(const TagField& field) {
  switch (field.kind) {
    case FieldKind::Key: return "INTEGER PRIMARY KEY AUTOINCREMENT";
    case FieldKind::Text: return "TEXT";
    case FieldKind::Integer:
    case FieldKind::Real: {
      std::string declaration = field.kind == FieldKind::Integer ? "INTEGER" : "REAL";
      if (!field.newTagValue.empty()) declaration += " DEFAULT " + std::string(field.newTagValue);
      return declaration;
    }
  }
  return "TEXT";
}

// The data type names a tag may hold, with their codes.
constexpr std::array<std::pair<const char*, int>, 9> kDataTypeNames = {{
    {"ioWord", 0}, {"ioDWord", 1}, {"ioFloat", 2}, {"ioDFloat", 3}, {"ioString", 4},
    {"ioScaledWord", 20}, {"ioScaledDWord", 21}, {"ioScaledFloat", 22}, {"ioScaledDFloat", 23},
}};

std::string Quoted(const std::string& identifier) { return "\"" + identifier + "\""; }

fs::path DatabaseFile(const fs::path& dir) { return dir / kTagDatabaseFileName; }

void Exec(sqlite3* db, const std::string& sql) {
  char* message = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
    std::string text = message ? message : "unknown error";
    sqlite3_free(message);
    throw ToolError("database error: " + text);
  }
}

std::string CreateTableSql() {
  std::string sql = "CREATE TABLE TagData (";
  for (std::size_t i = 0; i < kTagFields.size(); ++i) {
    if (i > 0) sql += ", ";
    sql += Quoted(std::string(kTagFields[i].name)) + " " + Declaration(kTagFields[i]);
  }
  sql += ");\nCREATE TABLE EnNumerations (ID INTEGER PRIMARY KEY, DataType TEXT NOT NULL, \"Value\" INTEGER);\n";
  for (auto [name, value] : kDataTypeNames) {
    sql += "INSERT INTO EnNumerations (DataType, \"Value\") VALUES ('" + std::string(name) + "', " +
           std::to_string(value) + ");\n";
  }
  return sql;
}

// Waits for a database another program has locked, as long as the library does.
DatabaseHandle Open(const fs::path& file, int flags) {
  DatabaseHandle db = OpenDatabase(file.c_str(), flags);
  if (!db) throw ToolError("cannot open " + file.string());
  sqlite3_busy_timeout(db.get(), static_cast<int>(TagTable::kMaxWait.count()));
  return db;
}

DatabaseHandle OpenExistingFile(const fs::path& file, int flags) {
  std::error_code error;
  if (!fs::is_regular_file(file, error)) throw ToolError("no tag database at " + file.string());
  return Open(file, flags);
}

DatabaseHandle OpenExisting(const fs::path& dir, int flags) { return OpenExistingFile(DatabaseFile(dir), flags); }

// Creates the file, failing when it exists: of two processes making it at
// once, one makes it and the other is refused.
void CreateExclusively(const fs::path& file) {
  int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0 && errno == EEXIST) throw ToolError(file.string() + " already exists; not overwritten");
  if (fd < 0) throw ToolError("cannot create " + file.string() + ": " + std::strerror(errno));
  ::close(fd);
}

// The TagData field each header column names.
std::vector<const TagField*> MapHeader(const CsvRow& header) {
  std::vector<const TagField*> fields;
  for (const std::string& column : header) {
    const TagField* field = FindTagField(TrimBlanks(column));
    if (!field) throw ToolError("unknown TagData field in CSV header: \"" + column + "\"");
    for (const TagField* seen : fields) {
      if (seen == field) throw ToolError("field named twice in CSV header: " + std::string(field->name));
    }
    fields.push_back(field);
  }
  return fields;
}

// A record has a field for each header column, and a number field holds a
// number: SQLite would keep any other text as it stands.
void CheckRecord(const std::vector<const TagField*>& fields, const CsvRow& row, const std::string& where) {
  if (row.size() != fields.size()) {
    throw ToolError(where + " has " + std::to_string(row.size()) + " fields, the header " +
                    std::to_string(fields.size()));
  }
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (!FieldTakesText(fields[i]->kind, row[i]))
      throw ToolError(where + ": " + std::string(fields[i]->name) + " needs a number, not \"" + row[i] + "\"");
  }
}

void InsertRow(sqlite3* db, const std::vector<const TagField*>& fields, const CsvRow& row) {
  std::string columns, placeholders;
  std::vector<const std::string*> values;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (row[i].empty()) continue;  // an empty field takes the default
    columns += (values.empty() ? "" : ", ") + Quoted(std::string(fields[i]->name));
    placeholders += values.empty() ? "?" : ", ?";
    values.push_back(&row[i]);
  }
  std::string sql = values.empty() ? "INSERT INTO TagData DEFAULT VALUES"
                                   : "INSERT INTO TagData (" + columns + ") VALUES (" + placeholders + ")";
  StatementHandle insert = Prepare(db, sql.c_str());
  if (!insert) throw ToolError(std::string("database error: ") + sqlite3_errmsg(db));
  for (std::size_t i = 0; i < values.size(); ++i) {
    sqlite3_bind_text(insert.get(), static_cast<int>(i + 1), values[i]->c_str(), -1, SQLITE_TRANSIENT);
  }
  if (sqlite3_step(insert.get()) != SQLITE_DONE) {
    throw ToolError(std::string("database error: ") + sqlite3_errmsg(db));
  }
}

std::string ColumnText(sqlite3_stmt* statement, int column) {
  auto text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
  return text ? text : "";
}

}  // namespace

void CreateTagDatabase(const fs::path& dir) {
  std::error_code error;
  if (!fs::is_directory(dir, error)) throw ToolError("no such folder: " + dir.string());
  fs::path file = DatabaseFile(dir);
  CreateExclusively(file);
  try {
    DatabaseHandle db = Open(file, SQLITE_OPEN_READWRITE);
    Exec(db.get(), "BEGIN;\n" + CreateTableSql() + "COMMIT;");
  } catch (const ToolError&) {
    fs::remove(file, error);  // this process made it: leave no half-made database behind
    throw;
  }
}

int ImportTags(const fs::path& dir, const fs::path& csvFile) {
  std::error_code error;
  if (fs::is_directory(csvFile, error)) throw ToolError(csvFile.string() + " is a folder, not a CSV file");
  std::ifstream in(csvFile, std::ios::binary);
  if (!in) throw ToolError("cannot read " + csvFile.string());
  CsvReader reader(in);
  // Every record is read and checked before anything is written.
  std::vector<CsvRow> rows;
  std::vector<const TagField*> fields;
  DatabaseHandle db;
  try {
    auto header = reader.Next();
    if (!header) throw ToolError(csvFile.string() + ": no header line");
    fields = MapHeader(*header);
    db = OpenExisting(dir, SQLITE_OPEN_READWRITE);
    for (auto row = reader.Next(); row; row = reader.Next()) {
      CheckRecord(fields, *row, csvFile.string() + ": line " + std::to_string(reader.Line()));
      rows.push_back(std::move(*row));
    }
  } catch (const CsvError& e) {
    throw ToolError(csvFile.string() + ": " + e.what());
  }
  // IMMEDIATE: take the write lock (waiting for it) before the first insert, so
  // that two imports at once queue up instead of one of them failing.
  Exec(db.get(), "BEGIN IMMEDIATE");
  try {
    for (const CsvRow& row : rows) InsertRow(db.get(), fields, row);
    Exec(db.get(), "COMMIT");
  } catch (...) {
    sqlite3_exec(db.get(), "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
  return static_cast<int>(rows.size());
}

void CheckTagDatabase(const fs::path& file) {
  // Read-write, as the editor opens it, so that a journal left by a crashed
  // writer is rolled back rather than refused; SQLite falls back to read-only
  // for a write-protected file.
  DatabaseHandle db = OpenExistingFile(file, SQLITE_OPEN_READWRITE);
  if (!Prepare(db.get(), "SELECT * FROM TagData")) throw ToolError(file.string() + ": " + sqlite3_errmsg(db.get()));
}

void ListTags(const fs::path& dir, bool asCsv, std::ostream& out) {
  DatabaseHandle db = OpenExisting(dir, SQLITE_OPEN_READONLY);
  std::string sql = asCsv ? "SELECT * FROM TagData ORDER BY ID"
                          : "SELECT ID, NAME, REGAB, DataType, Scale, \"Offset\" FROM TagData ORDER BY ID";
  StatementHandle select = Prepare(db.get(), sql.c_str());
  if (!select) throw ToolError(std::string("database error: ") + sqlite3_errmsg(db.get()));
  const int columns = sqlite3_column_count(select.get());
  const char* separator = asCsv ? "," : "\t";
  auto writeRow = [&](auto cellOf) {
    for (int c = 0; c < columns; ++c) {
      std::string cell = cellOf(c);
      out << (c > 0 ? separator : "") << (asCsv ? CsvField(cell) : cell);
    }
    out << (asCsv ? "\r\n" : "\n");
  };
  writeRow([&](int c) { return std::string(sqlite3_column_name(select.get(), c)); });
  while (sqlite3_step(select.get()) == SQLITE_ROW) {
    writeRow([&](int c) { return ColumnText(select.get(), c); });
  }
}

}  // namespace queldb::tool
