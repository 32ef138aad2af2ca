// The imported optimizer file: every pattern's cuts in one flat list, the
// books of sheets and the pattern list shown to the operator.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "saw/optimizer/import_warnings.h"
#include "saw/optimizer/pat_cut.h"
#include "saw/optimizer/pat_cut_list.h"
#include "saw/optimizer/text_store.h"

namespace orl {

// A list box as plain data: its entries and the selected index (-1: none).
struct ListBoxState {
  std::vector<std::string> Items;
  int ListIndex = -1;

  void Clear() {
    Items.clear();
    ListIndex = -1;
  }
};

struct OptimizerModel {
  // A file can describe at most this many cuts; the rest is not read, so a
  // hostile file cannot exhaust memory.
  static constexpr std::size_t MaxCuts = 1'000'000;

  OptimizerModel() = default;
  // The cuts' texts point into `Texts`: a copied model would point into
  // the original's.
  OptimizerModel(const OptimizerModel&) = delete;
  OptimizerModel& operator=(const OptimizerModel&) = delete;
  OptimizerModel(OptimizerModel&&) noexcept = default;
  OptimizerModel& operator=(OptimizerModel&&) noexcept = default;

  PatCutList PatCuts;  // element 0 stays empty
  TextStore Texts;  // every text the cuts refer to
  // Per pattern ordinal, the sheets of book 1..n (entry 0 of each unused).
  std::vector<std::vector<std::int16_t>> PatBooks = std::vector<std::vector<std::int16_t>>(1);
  // Index into PatCuts of the first cut of the pattern shown. 32 bits: a file
  // may hold more cuts than a 16-bit index reaches.
  std::int32_t CurPatFirst = 0;
  FileKind OptFileKind = FileKind::Csv;
  ListBoxState Pat;    // "N  *  BoardDesc" per pattern
  ListBoxState Parts;  // filled by the preview
  std::int16_t LastListedPat = 0;
  std::string ShownPatternKey;
  std::string LoadedPatternKey;
  ImportWarnings Warnings;
  bool CutsFull = false;

  // Back to the state right after an optimizer file is selected.
  void ResetForImport(FileKind kind);
  void ResetBooks();

  // Appends a copy of `cut` whose texts are kept in `Texts`, and lists its
  // pattern in `Pat` when its number differs from the last listed one.
  // `clearPatOnFirst` clears `Pat` before the file's first cut. Returns
  // false when the cut limit was reached.
  bool AddCut(const PatCut& cut, bool clearPatOnFirst, std::int64_t line);

  // The same in two steps, so a reader fills the new cut in place: NewCut
  // hands out an empty cut (nullptr once the limit is reached), ListCut
  // appends and lists it once its fields are set. The reader keeps the cut's
  // texts in `Texts`.
  PatCut* NewCut(std::int64_t line);
  void ListCut(bool clearPatOnFirst);

  // Once the file is read: when its patterns did not follow each other in
  // ascending number, every pattern's cuts are put together (in their file
  // order) and the patterns in ascending number, and `Pat` is listed anew,
  // so that a pattern's cuts are found wherever they lay in the file.
  void GatherPatterns();

  std::size_t CutCount() const { return PatCuts.size() - 1; }

 private:
  // Inline: runs for every cut of a file.
  void ListPattern(const PatCut& cut) {
    if (cut.PatNo == LastListedPat) return;
    ListNewPattern(cut);
  }
  void ListNewPattern(const PatCut& cut);

  bool patternsOutOfOrder_ = false;
  PatCut newCut_;  // the cut NewCut handed out
};

// "N  *  desc", the `Pat` entry of a pattern.
std::string PatEntryText(std::int16_t patNo, std::string_view boardDesc);

// The first number of a `Pat` entry's text: the pattern it stands for.
std::int16_t PatternNumberOf(const std::string& patEntry);

}  // namespace orl
