#include "saw/history/history_store.h"

#include <string>

#include "saw/history/history_schema.h"
#include "saw/history/sqlite_connection.h"

namespace orl {
namespace {

// A writer waiting for another connection's lock gives up after this long.
constexpr int kBusyTimeoutMs = 5000;

const std::string kInRange = " time_ms >= ?1 AND time_ms < ?2 ";

void BindRange(SqliteStatement& statement, const HistoryRange& range) {
  statement.Bind(1, range.fromMs);
  statement.Bind(2, range.untilMs);
}

CutRecord RecordFromRow(const SqliteStatement& row) {
  CutRecord r;
  r.seq = row.Integer(0);
  r.timeMs = row.Integer(1);
  r.kind = CutKindFromName(row.Text(2));
  r.program = row.Text(3);
  r.description = row.Text(4);
  r.group = static_cast<int>(row.Integer(5));
  r.row = static_cast<int>(row.Integer(6));
  r.column = static_cast<int>(row.Integer(7));
  r.target = static_cast<std::int32_t>(row.Integer(8));
  r.length = row.Text(9);
  r.unit = row.Text(10);
  r.newBoard = row.Integer(11) != 0;
  r.groove = row.Integer(12) != 0;
  r.book = row.Text(13);
  r.part = row.Text(14);
  return r;
}

void BindRecord(SqliteStatement& insert, const CutRecord& r) {
  insert.Bind(1, r.timeMs);
  insert.Bind(2, std::string_view(CutKindName(r.kind)));
  insert.Bind(3, r.program);
  insert.Bind(4, r.description);
  insert.Bind(5, std::int64_t{r.group});
  insert.Bind(6, std::int64_t{r.row});
  insert.Bind(7, std::int64_t{r.column});
  insert.Bind(8, std::int64_t{r.target});
  insert.Bind(9, r.length);
  insert.Bind(10, r.unit);
  insert.Bind(11, std::int64_t{r.newBoard});
  insert.Bind(12, std::int64_t{r.groove});
  insert.Bind(13, r.book);
  insert.Bind(14, r.part);
}

std::unique_ptr<SqliteConnection> Connect(const std::filesystem::path& file, SqliteConnection::Mode mode) {
  auto connection = std::make_unique<SqliteConnection>(file, mode);
  sqlite3_busy_timeout(connection->Handle(), kBusyTimeoutMs);
  return connection;
}

}  // namespace

HistoryStore HistoryStore::OpenForWriting(const std::filesystem::path& file) {
  auto connection = Connect(file, SqliteConnection::Mode::kReadWriteCreate);
  // WAL: readers never wait for the writer nor it for them. FULL: a
  // committed record survives a power cut, not only a killed program.
  connection->Execute("PRAGMA journal_mode = WAL");
  connection->Execute("PRAGMA synchronous = FULL");
  PrepareHistorySchema(*connection);
  HistoryStore store(std::move(connection));
  store.insert_ = std::make_unique<SqliteStatement>(
      *store.connection_,
      "INSERT INTO cuts (time_ms, kind, program, description, cut_group, cell_row, cell_column, target, length, "
      "unit, new_board, groove, book, part) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14)");
  return store;
}

HistoryStore HistoryStore::OpenReadOnly(const std::filesystem::path& file) {
  auto connection = Connect(file, SqliteConnection::Mode::kReadOnly);
  CheckHistorySchema(*connection);
  return HistoryStore(std::move(connection));
}

HistoryStore::HistoryStore(std::unique_ptr<SqliteConnection> connection) : connection_(std::move(connection)) {}
HistoryStore::~HistoryStore() {
  insert_.reset();  // statements go before their connection
}
HistoryStore::HistoryStore(HistoryStore&&) noexcept = default;
HistoryStore& HistoryStore::operator=(HistoryStore&& other) noexcept {
  insert_.reset();
  connection_ = std::move(other.connection_);
  insert_ = std::move(other.insert_);
  return *this;
}

const std::filesystem::path& HistoryStore::File() const { return connection_->File(); }

std::int64_t HistoryStore::Insert(CutRecord& record) {
  if (!insert_) throw HistoryError(File(), "opened for reading only");
  insert_->Reset();
  BindRecord(*insert_, record);
  insert_->Step();
  return connection_->LastInsertedRow();
}

std::int64_t HistoryStore::Append(CutRecord& record) {
  // On its own the statement is its own transaction, committed when it ends.
  record.seq = Insert(record);
  return record.seq;
}

void HistoryStore::AppendAll(std::span<CutRecord> records) {
  std::vector<std::int64_t> seqs;
  seqs.reserve(records.size());
  connection_->Execute("BEGIN IMMEDIATE");
  try {
    for (CutRecord& record : records) seqs.push_back(Insert(record));
    connection_->Execute("COMMIT");
  } catch (...) {
    sqlite3_exec(connection_->Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
  // Numbered only once they are on disk: a failed batch leaves them unnumbered.
  for (std::size_t i = 0; i < records.size(); ++i) records[i].seq = seqs[i];
}

std::vector<CutRecord> HistoryStore::Page(const HistoryRange& range, std::int64_t beforeSeq, int limit) const {
  std::vector<CutRecord> page;
  if (limit <= 0) return page;
  SqliteStatement query(*connection_, std::string("SELECT ") + kCutColumns + " FROM cuts WHERE" + kInRange +
                                          "AND seq < ?3 ORDER BY seq DESC LIMIT ?4");
  BindRange(query, range);
  query.Bind(3, beforeSeq > 0 ? beforeSeq : std::numeric_limits<std::int64_t>::max());
  query.Bind(4, std::int64_t{limit});
  while (query.Step()) page.push_back(RecordFromRow(query));
  return page;
}

void HistoryStore::ForEach(const HistoryRange& range, const std::function<void(const CutRecord&)>& visit) const {
  SqliteStatement query(*connection_,
                        std::string("SELECT ") + kCutColumns + " FROM cuts WHERE" + kInRange + "ORDER BY seq");
  BindRange(query, range);
  while (query.Step()) visit(RecordFromRow(query));
}

void HistoryStore::ForEachAfter(std::int64_t afterSeq, int limit,
                                const std::function<void(const CutRecord&)>& visit) const {
  if (limit <= 0) return;
  SqliteStatement query(*connection_,
                        std::string("SELECT ") + kCutColumns + " FROM cuts WHERE seq > ?1 ORDER BY seq LIMIT ?2");
  query.Bind(1, afterSeq);
  query.Bind(2, std::int64_t{limit});
  while (query.Step()) visit(RecordFromRow(query));
}

std::int64_t HistoryStore::LastSeq() const { return connection_->QueryInteger("SELECT coalesce(max(seq), 0) FROM cuts"); }

std::vector<HistoryTotal> HistoryStore::Totals(const HistoryRange& range) const {
  SqliteStatement query(*connection_,
                        "SELECT date(time_ms / 1000, 'unixepoch', 'localtime') AS day, program, count(*), "
                        "sum(new_board) FROM cuts WHERE kind = 'cut' AND" + kInRange +
                            "GROUP BY day, program ORDER BY day, program");
  BindRange(query, range);
  std::vector<HistoryTotal> totals;
  while (query.Step()) totals.push_back({query.Text(0), query.Text(1), query.Integer(2), query.Integer(3)});
  return totals;
}

std::int64_t HistoryStore::Count(const HistoryRange& range) const {
  SqliteStatement query(*connection_, "SELECT count(*) FROM cuts WHERE" + kInRange);
  BindRange(query, range);
  return query.Step() ? query.Integer(0) : 0;
}

int HistoryStore::RemoveOlderThan(std::int64_t cutoffMs, int limit) {
  if (limit <= 0) return 0;
  SqliteStatement remove(*connection_,
                         "DELETE FROM cuts WHERE seq IN "
                         "(SELECT seq FROM cuts WHERE time_ms < ?1 ORDER BY time_ms, seq LIMIT ?2)");
  remove.Bind(1, cutoffMs);
  remove.Bind(2, std::int64_t{limit});
  remove.Step();
  return connection_->Changes();
}

}  // namespace orl
