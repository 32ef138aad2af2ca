// The outbox's bookkeeping without a broker: what goes out, in which
// order, what is sent again, and where the mark stands. A restart that
// reads the file first is delivery_test.cpp's.
#include "saw/plant/outbox.h"

#include <gtest/gtest.h>

namespace orl {
namespace {

using Seqs = std::vector<std::int64_t>;

Seqs SeqsOf(const std::vector<OutboxRecord>& records) {
  Seqs seqs;
  for (const OutboxRecord& r : records) seqs.push_back(r.seq);
  return seqs;
}

std::vector<OutboxRecord> Records(std::int64_t from, std::int64_t to) {
  std::vector<OutboxRecord> records;
  for (std::int64_t seq = from; seq <= to; ++seq) records.push_back({seq, "{\"seq\":" + std::to_string(seq) + "}"});
  return records;
}

void Commit(Outbox& outbox, std::int64_t from, std::int64_t to) {
  for (OutboxRecord& record : Records(from, to)) outbox.Committed(std::move(record));
}

TEST(Outbox, AWindowGoesOutInOrderAndTheMarkMovesOnlyOverTheAcknowledgedPrefix) {
  Outbox outbox(0, false);
  Commit(outbox, 1, 5);
  EXPECT_EQ(SeqsOf(outbox.TakeToSend(3)), (Seqs{1, 2, 3}));
  EXPECT_EQ(SeqsOf(outbox.TakeToSend(3)), Seqs{}) << "the window is full";
  outbox.Acknowledged(2);
  EXPECT_EQ(outbox.Mark(), 0) << "1 is not acknowledged yet";
  EXPECT_EQ(SeqsOf(outbox.TakeToSend(3)), (Seqs{4}));
  outbox.Acknowledged(1);
  EXPECT_EQ(outbox.Mark(), 2);
  EXPECT_EQ(SeqsOf(outbox.TakeToSend(3)), (Seqs{5}));
  outbox.Acknowledged(2);  // a second acknowledgement of a record gone
  EXPECT_EQ(outbox.Mark(), 2);
  EXPECT_EQ(outbox.Size(), 3u);
}

TEST(Outbox, AfterALostConnectionEverythingNotAcknowledgedGoesAgainFromTheOldest) {
  Outbox outbox(10, false);
  Commit(outbox, 11, 16);
  outbox.TakeToSend(4);  // 11..14
  outbox.Acknowledged(13);
  outbox.Rewind();
  EXPECT_EQ(SeqsOf(outbox.TakeToSend(3)), (Seqs{11, 12, 14})) << "13 reached the broker";
  outbox.Acknowledged(15);  // late news from before the loss counts as well
  EXPECT_EQ(SeqsOf(outbox.TakeToSend(5)), (Seqs{16}));
  for (std::int64_t seq : {11, 12, 14, 16}) outbox.Acknowledged(seq);
  EXPECT_EQ(outbox.Mark(), 16);
  EXPECT_EQ(outbox.Size(), 0u);
}

TEST(Outbox, BeyondTheBoundRecordsWaitInTheFileAndAreReadInOrderAsTheQueueDrains) {
  Outbox outbox(0, false, 4);
  Commit(outbox, 1, 7);  // 5..7 stay in the file
  EXPECT_FALSE(outbox.RefillWanted()) << "the queue is still full";
  outbox.TakeToSend(4);
  outbox.Acknowledged(1);
  outbox.Acknowledged(2);
  const auto wanted = outbox.RefillWanted();
  ASSERT_TRUE(wanted);
  EXPECT_EQ(wanted->afterSeq, 4);
  EXPECT_EQ(wanted->limit, 2u);
  outbox.Refilled(Records(5, 6), false);
  outbox.Acknowledged(3);
  outbox.Acknowledged(4);
  ASSERT_TRUE(outbox.RefillWanted());
  Commit(outbox, 8, 8);  // committed while the file was being read: left there as well
  outbox.Refilled(Records(7, 7), true);
  EXPECT_EQ(SeqsOf(outbox.TakeToSend(10)), (Seqs{5, 6, 7}));
  outbox.Acknowledged(5);
  const auto again = outbox.RefillWanted();
  ASSERT_TRUE(again) << "8 was committed after that read";
  EXPECT_EQ(again->afterSeq, 7);
  outbox.Refilled(Records(8, 8), true);
  EXPECT_FALSE(outbox.RefillWanted());
  Commit(outbox, 8, 9);  // 8 is queued already
  EXPECT_EQ(SeqsOf(outbox.TakeToSend(10)), (Seqs{8, 9}));
}

}  // namespace
}  // namespace orl
