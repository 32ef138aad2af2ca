#include "saw/history/sqlite_connection.h"

#include <utility>

namespace orl {

SqliteConnection::SqliteConnection(std::filesystem::path file, Mode mode) : file_(std::move(file)) {
  const int flags = mode == Mode::kReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
  // Each connection belongs to one thread at a time; SQLite's own locks
  // between connections are what the writer and the readers share.
  const int result = sqlite3_open_v2(file_.c_str(), &db_, flags | SQLITE_OPEN_NOMUTEX, nullptr);
  if (result != SQLITE_OK) {
    const std::string reason = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(result);
    sqlite3_close(db_);
    db_ = nullptr;
    throw HistoryError(file_, reason);
  }
  sqlite3_extended_result_codes(db_, 1);
}

SqliteConnection::~SqliteConnection() { sqlite3_close_v2(db_); }

void SqliteConnection::Execute(std::string_view sql) const {
  char* message = nullptr;
  const std::string text(sql);
  if (sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &message) == SQLITE_OK) return;
  const std::string reason = message ? message : sqlite3_errmsg(db_);
  sqlite3_free(message);
  throw HistoryError(file_, reason);
}

std::int64_t SqliteConnection::QueryInteger(std::string_view sql) const {
  SqliteStatement query(*this, sql);
  return query.Step() ? query.Integer(0) : 0;
}

int SqliteConnection::Changes() const { return sqlite3_changes(db_); }

std::int64_t SqliteConnection::LastInsertedRow() const { return sqlite3_last_insert_rowid(db_); }

void SqliteConnection::Check(int resultCode) const {
  if (resultCode != SQLITE_OK && resultCode != SQLITE_ROW && resultCode != SQLITE_DONE) Fail();
}

void SqliteConnection::Fail() const { throw HistoryError(file_, sqlite3_errmsg(db_)); }

SqliteStatement::SqliteStatement(const SqliteConnection& connection, std::string_view sql) : connection_(&connection) {
  connection.Check(sqlite3_prepare_v2(connection.Handle(), sql.data(), static_cast<int>(sql.size()), &statement_,
                                      nullptr));
}

SqliteStatement::~SqliteStatement() { sqlite3_finalize(statement_); }

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : connection_(other.connection_), statement_(std::exchange(other.statement_, nullptr)) {}

void SqliteStatement::Bind(int index, std::int64_t value) {
  connection_->Check(sqlite3_bind_int64(statement_, index, value));
}

void SqliteStatement::Bind(int index, std::string_view text) {
  connection_->Check(
      sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT));
}

bool SqliteStatement::Step() {
  const int result = sqlite3_step(statement_);
  if (result == SQLITE_ROW) return true;
  if (result == SQLITE_DONE) return false;
  // The statement's error stays with the connection until it is reset.
  const HistoryError error(connection_->File(), sqlite3_errmsg(connection_->Handle()));
  sqlite3_reset(statement_);
  throw error;
}

void SqliteStatement::Reset() {
  sqlite3_reset(statement_);
  sqlite3_clear_bindings(statement_);
}

std::int64_t SqliteStatement::Integer(int column) const { return sqlite3_column_int64(statement_, column); }

std::string SqliteStatement::Text(int column) const {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
  return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(statement_, column))) : std::string();
}

}  // namespace orl
