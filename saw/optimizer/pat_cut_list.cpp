#include "saw/optimizer/pat_cut_list.h"

#include <algorithm>
#include <functional>

namespace orl {

PatCutList::PatCutList() { Clear(); }

PatCut PatCutList::operator[](std::size_t i) const {
  const StoredCut& stored = cuts_[i];
  const Head& head = heads_[stored.head];
  const Labels& labels = labels_[stored.labels];
  PatCut cut;
  cut.SourceTag = head.SourceTag;
  cut.PatNo = head.PatNo;
  cut.BoardDesc = head.BoardDesc;
  cut.BoardLen = head.BoardLen;
  cut.BoardWid = head.BoardWid;
  cut.TrimShort = head.TrimShort;
  cut.TrimLong = head.TrimLong;
  cut.EndTrimWid = head.EndTrimWid;
  cut.EndTrimLen = head.EndTrimLen;
  cut.PatSheets = head.PatSheets;
  cut.BookMax = head.BookMax;
  cut.LoadLong = stored.LoadLong != 0;
  cut.CutDim = stored.CutDim;
  cut.CutLevel = stored.CutLevel;
  cut.CutQty = stored.CutQty;
  cut.PartLabel = labels.PartLabel;
  cut.PartRef = stored.PartRef;
  cut.SeqStep = stored.SeqStep;
  cut.BookLabels = labels.BookLabels;
  return cut;
}

void PatCutList::Append(const PatCut& cut) {
  StoredCut stored{};
  stored.head = HeadIndex(cut);
  stored.LoadLong = cut.LoadLong ? 1 : 0;
  stored.labels = LabelsIndex(cut);
  stored.CutDim = cut.CutDim;
  stored.CutLevel = cut.CutLevel;
  stored.CutQty = cut.CutQty;
  stored.PartRef = cut.PartRef;
  stored.SeqStep = cut.SeqStep;
  cuts_.push_back(stored);
}

void PatCutList::Clear() {
  std::vector<StoredCut>(1, StoredCut{}).swap(cuts_);
  std::vector<Head>(1).swap(heads_);
  std::vector<Labels>(1).swap(labels_);
  recentLabels_.fill(0);
}

void PatCutList::Reserve(std::size_t more) { cuts_.reserve(cuts_.size() + more); }

void PatCutList::SortByPattern() {
  std::stable_sort(cuts_.begin() + 1, cuts_.end(), [this](const StoredCut& a, const StoredCut& b) {
    return heads_[a.head].PatNo < heads_[b.head].PatNo;
  });
}

PatCutList::Head PatCutList::HeadOf(const PatCut& cut) {
  return {cut.SourceTag, cut.BoardDesc, cut.BoardLen,  cut.BoardWid,   cut.TrimShort, cut.TrimLong,
          cut.EndTrimWid, cut.EndTrimLen, cut.PatNo, cut.PatSheets, cut.BookMax};
}

std::uint32_t PatCutList::HeadIndex(const PatCut& cut) {
  const Head head = HeadOf(cut);
  if (heads_.size() > 1 && heads_.back() == head) return static_cast<std::uint32_t>(heads_.size() - 1);
  heads_.push_back(head);
  return static_cast<std::uint32_t>(heads_.size() - 1);
}

std::uint32_t PatCutList::LabelsIndex(const PatCut& cut) {
  const Labels labels{cut.PartLabel, cut.BookLabels};
  if (labels.PartLabel.empty() && labels.BookLabels.empty()) return 0;
  const std::size_t hash = std::hash<const void*>{}(labels.PartLabel.data()) * 31 +
                           std::hash<const void*>{}(labels.BookLabels.data()) + labels.BookLabels.size();
  std::uint32_t& recent = recentLabels_[(hash ^ (hash >> 12)) % RecentLabels];
  if (recent != 0 && labels_[recent].Same(labels)) return recent;
  labels_.push_back(labels);
  recent = static_cast<std::uint32_t>(labels_.size() - 1);
  return recent;
}

}  // namespace orl
