#pragma once
// The saw's production history on disk: one SQLite file of cut records.
// The writer holds one store open for writing; readers (the History tab,
// orl-tool history) open their own read-only store on the same file and
// read while it writes (write-ahead log). A store is used by one thread.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "saw/history/cut_record.h"
#include "saw/history/history_error.h"

namespace orl {

class SqliteConnection;
class SqliteStatement;

// Records with fromMs <= timeMs < untilMs.
struct HistoryRange {
  std::int64_t fromMs = std::numeric_limits<std::int64_t>::min();
  std::int64_t untilMs = std::numeric_limits<std::int64_t>::max();
};

// One program's production on one local day.
struct HistoryTotal {
  std::string day;  // "YYYY-MM-DD", this machine's local time
  std::string program;
  std::int64_t pieces = 0;  // records of kind cut
  std::int64_t boards = 0;  // of those, the ones that started a new board
  bool operator==(const HistoryTotal&) const = default;
};

class HistoryStore {
 public:
  // Opens the file, creating it and its folder's database files when
  // missing; every write is on disk before it returns.
  static HistoryStore OpenForWriting(const std::filesystem::path& file);
  // Opens an existing history file for reading only; never creates it.
  static HistoryStore OpenReadOnly(const std::filesystem::path& file);

  ~HistoryStore();
  HistoryStore(HistoryStore&&) noexcept;
  HistoryStore& operator=(HistoryStore&&) noexcept;

  const std::filesystem::path& File() const;

  // Stores one record in its own transaction and gives it its sequence
  // number (also returned).
  std::int64_t Append(CutRecord& record);
  // Stores records in one transaction, in order, each given its number:
  // a backlog is written without a disk flush per record.
  void AppendAll(std::span<CutRecord> records);

  // Up to limit records of the range, newest first, those with seq below
  // beforeSeq (0: from the newest); the next page starts before the last
  // seq of this one.
  std::vector<CutRecord> Page(const HistoryRange& range, std::int64_t beforeSeq, int limit) const;
  // Every record of the range, oldest first, one at a time.
  void ForEach(const HistoryRange& range, const std::function<void(const CutRecord&)>& visit) const;
  // Up to limit records with seq above afterSeq, oldest first: a reader
  // catching up with the writer, a bounded step at a time.
  void ForEachAfter(std::int64_t afterSeq, int limit, const std::function<void(const CutRecord&)>& visit) const;
  // The highest seq stored, 0 when none.
  std::int64_t LastSeq() const;
  // Production per local day and program, by day then program.
  std::vector<HistoryTotal> Totals(const HistoryRange& range) const;
  std::int64_t Count(const HistoryRange& range) const;

  // Removes up to limit of the oldest records from before cutoffMs (a
  // little at a time, so the writer is never held up long); returns how
  // many went.
  int RemoveOlderThan(std::int64_t cutoffMs, int limit);

 private:
  explicit HistoryStore(std::unique_ptr<SqliteConnection> connection);
  std::int64_t Insert(CutRecord& record);

  std::unique_ptr<SqliteConnection> connection_;
  std::unique_ptr<SqliteStatement> insert_;  // prepared once for the writer
};

}  // namespace orl
