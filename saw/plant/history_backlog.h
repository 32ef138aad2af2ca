#pragma once
// The plant link's reads of the history file, on its own read-only
// connection: where the records end, and the records after a seq as the
// plant's payloads. A missing file holds no records.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "saw/plant/outbox.h"

namespace orl {

// The highest seq in the file; throws HistoryError when it cannot be read.
std::int64_t LastSeqIn(const std::filesystem::path& historyFile);
// Up to limit records after afterSeq, oldest first; throws HistoryError.
std::vector<OutboxRecord> ReadBacklog(const std::filesystem::path& historyFile, std::int64_t afterSeq,
                                      std::size_t limit);

}  // namespace orl
