#include "saw/optimizer/pat_cut_list.h"

#include <algorithm>
#include <functional>

namespace orl {

namespace {
// The fields a head holds and those a stored cut holds, copied either way
// between them and a whole cut: the members have the same names.
template <typename From, typename To>
void CopyHeadFields(const From& from, To& to) {
  to.SourceTag = from.SourceTag;
  to.PatNo = from.PatNo;
  to.BoardDesc = from.BoardDesc;
  to.BoardLen = from.BoardLen;
  to.BoardWid = from.BoardWid;
  to.TrimShort = from.TrimShort;
  to.TrimLong = from.TrimLong;
  to.EndTrimWid = from.EndTrimWid;
  to.EndTrimLen = from.EndTrimLen;
  to.PatSheets = from.PatSheets;
  to.BookMax = from.BookMax;
}

template <typename From, typename To>
void CopyOwnFields(const From& from, To& to) {
  to.LoadLong = from.LoadLong;
  to.CutDim = from.CutDim;
  to.CutLevel = from.CutLevel;
  to.CutQty = from.CutQty;
  to.PartRef = from.PartRef;
  to.SeqStep = from.SeqStep;
}
}  // namespace

PatCutList::PatCutList() { Clear(); }

PatCut PatCutList::operator[](std::size_t i) const {
  const StoredCut& stored = cuts_[i];
  const Labels& labels = labels_[stored.labels];
  PatCut cut;
  CopyHeadFields(heads_[stored.head], cut);
  CopyOwnFields(stored, cut);
  cut.PartLabel = labels.PartLabel;
  cut.BookLabels = labels.BookLabels;
  return cut;
}

void PatCutList::Append(const PatCut& cut) {
  StoredCut stored{};
  stored.head = HeadIndex(cut);
  stored.labels = LabelsIndex(cut);
  CopyOwnFields(cut, stored);
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
  Head head;
  CopyHeadFields(cut, head);
  return head;
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
