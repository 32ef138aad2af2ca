#include "saw/plant/history_backlog.h"

#include "saw/history/cut_record_format.h"
#include "saw/history/history_store.h"

namespace orl {

std::int64_t LastSeqIn(const std::filesystem::path& historyFile) {
  if (historyFile.empty() || !std::filesystem::exists(historyFile)) return 0;
  return HistoryStore::OpenReadOnly(historyFile).LastSeq();
}

std::vector<OutboxRecord> ReadBacklog(const std::filesystem::path& historyFile, std::int64_t afterSeq,
                                      std::size_t limit) {
  std::vector<OutboxRecord> records;
  if (historyFile.empty() || !std::filesystem::exists(historyFile)) return records;
  HistoryStore::OpenReadOnly(historyFile)
      .ForEachAfter(afterSeq, static_cast<int>(limit),
                    [&](const CutRecord& record) { records.push_back({record.seq, CutJson(record)}); });
  return records;
}

}  // namespace orl
