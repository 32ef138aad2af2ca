#pragma once
// The little of the sqlite3 C API the history needs, with owned handles:
// a connection, and statements bound and stepped on it. Every failure
// throws a HistoryError naming the file.
#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "saw/history/history_error.h"

namespace orl {

class SqliteConnection;

class SqliteStatement {
 public:
  SqliteStatement(const SqliteConnection& connection, std::string_view sql);
  ~SqliteStatement();
  SqliteStatement(SqliteStatement&& other) noexcept;
  SqliteStatement(const SqliteStatement&) = delete;
  SqliteStatement& operator=(const SqliteStatement&) = delete;
  SqliteStatement& operator=(SqliteStatement&&) = delete;

  // Parameters count from 1, as in SQL.
  void Bind(int index, std::int64_t value);
  void Bind(int index, std::string_view text);
  // True while a row is there to read; false once the statement is done.
  bool Step();
  // Makes the statement ready to bind and step again.
  void Reset();

  std::int64_t Integer(int column) const;
  std::string Text(int column) const;

 private:
  const SqliteConnection* connection_;
  sqlite3_stmt* statement_ = nullptr;
};

class SqliteConnection {
 public:
  enum class Mode { kReadWriteCreate, kReadOnly };
  SqliteConnection(std::filesystem::path file, Mode mode);
  ~SqliteConnection();
  SqliteConnection(const SqliteConnection&) = delete;
  SqliteConnection& operator=(const SqliteConnection&) = delete;

  const std::filesystem::path& File() const { return file_; }
  sqlite3* Handle() const { return db_; }

  // Runs statements that return no rows worth reading.
  void Execute(std::string_view sql) const;
  // The first column of the first row of a query.
  std::int64_t QueryInteger(std::string_view sql) const;
  // Rows the last INSERT, UPDATE or DELETE changed.
  int Changes() const;
  std::int64_t LastInsertedRow() const;

  // Throws for a result code that is not `SQLITE_OK`, `SQLITE_ROW` or `SQLITE_DONE`.
  void Check(int resultCode) const;
  [[noreturn]] void Fail() const;

 private:
  std::filesystem::path file_;
  sqlite3* db_ = nullptr;
};

}  // namespace orl
