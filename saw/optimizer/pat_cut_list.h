// The cuts of an imported file, held compactly: the fields a whole board
// shares (pattern, board, trims, sheets) are kept once for a run of cuts that
// repeat them, and a cut's labels are kept once for the cuts that name the
// same ones (an Ardis pattern line expands into tens of cuts of a few parts).
// A stored cut takes 20 bytes rather than a `PatCut`'s 120.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "saw/optimizer/pat_cut.h"

namespace orl {

class PatCutList {
 public:
  PatCutList();  // element 0 only

  // Cuts held, element 0 included: cut i is 1..size() - 1.
  std::size_t size() const { return cuts_.size(); }
  // Cut i put together from its stored parts (element 0: an empty cut). Its
  // texts point where the appended cut's did.
  PatCut operator[](std::size_t i) const;
  std::int16_t PatNo(std::size_t i) const { return heads_[cuts_[i].head].PatNo; }
  std::int16_t CutLevel(std::size_t i) const { return cuts_[i].CutLevel; }
  std::int16_t SeqStep(std::size_t i) const { return cuts_[i].SeqStep; }
  void SetSeqStep(std::size_t i, std::int16_t step) { cuts_[i].SeqStep = step; }

  // Appends `cut`; its texts must outlive the list's contents.
  void Append(const PatCut& cut);
  // Back to element 0 only, the memory given back.
  void Clear();
  // Room for `more` cuts beyond those held.
  void Reserve(std::size_t more);
  // Puts the cuts in ascending pattern number, each pattern's in the order
  // they were appended.
  void SortByPattern();

 private:
  // The fields a board's cuts share.
  struct Head {
    std::string_view SourceTag;
    std::string_view BoardDesc;
    float BoardLen = 0, BoardWid = 0, TrimShort = 0, TrimLong = 0, EndTrimWid = 0, EndTrimLen = 0;
    std::int16_t PatNo = 0, PatSheets = 0, BookMax = 0;
    bool operator==(const Head&) const = default;
  };
  struct Labels {
    std::string_view PartLabel;
    std::span<const std::string_view> BookLabels;
    bool Same(const Labels& other) const {
      return PartLabel.data() == other.PartLabel.data() && PartLabel.size() == other.PartLabel.size() &&
             BookLabels.data() == other.BookLabels.data() && BookLabels.size() == other.BookLabels.size();
    }
  };
  struct StoredCut {
    std::uint32_t head : 31;
    std::uint32_t LoadLong : 1;
    std::uint32_t labels;
    float CutDim;
    std::int16_t CutLevel, CutQty, PartRef, SeqStep;
  };
  static_assert(sizeof(StoredCut) == 20);

  static Head HeadOf(const PatCut& cut);
  std::uint32_t HeadIndex(const PatCut& cut);
  std::uint32_t LabelsIndex(const PatCut& cut);

  std::vector<StoredCut> cuts_;
  std::vector<Head> heads_;      // entry 0: element 0's
  std::vector<Labels> labels_;   // entry 0: none
  // The labels index of recently appended label pairs, by their texts'
  // addresses: a few parts' labels recur over many cuts.
  static constexpr std::size_t RecentLabels = 256;
  std::array<std::uint32_t, RecentLabels> recentLabels_{};
};

}  // namespace orl
