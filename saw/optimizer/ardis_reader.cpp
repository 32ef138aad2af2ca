#include "saw/optimizer/ardis_reader.h"

#include <limits>

#include "saw/optimizer/ardis_pattern_code.h"
#include "saw/optimizer/eval_number.h"
#include "saw/shell/text_number.h"

namespace orl {

namespace {
constexpr std::size_t RecordTypeLength = 5;  // "PTN3,"
constexpr const char* TurnedMark = "!";

}  // namespace

ArdisReader::ArdisReader(OptimizerModel& model) : OptimizerReader(model), parts_(1), boards_(1) {}

void ArdisReader::BeginOfFile(FieldParser& parser) {
  OptimizerReader::BeginOfFile(parser);
  patCount_ = 0;
}

void ArdisReader::ReadLine(FieldParser& parser) {
  // Every line is checked against each type: no upper-cased copy is made.
  const std::string_view first = parser.Field(1);
  auto type = [first](std::string_view name) { return IsRecord(first, name); };
  if (type("PNL2")) {
    ReadPart(parser);
  } else if (type("BRD2")) {
    ReadBoard(parser);
  } else if (type("PTN2")) {
    board_ = Evaluated16(parser, 2);
    turned_ = parser.Field(3) == TurnedMark;
  } else if (type("PTN3")) {
    ReadPatternCode(parser);
  }
}

void ArdisReader::ReadPart(const FieldParser& parser) {
  ArdisPart part;
  part.Name = model_.Texts.Keep(parser.Field(2));
  part.Field3 = std::string(parser.Field(3));
  part.Dim = Evaluated(parser, 4);
  part.TurnedDim = Evaluated(parser, 5);
  part.Field6 = Evaluated16(parser, 6);
  part.Field7 = Evaluated(parser, 7) != 0;
  for (int i = 0; i < 4; ++i) part.Texts8To11[i] = std::string(parser.Field(8 + i));
  part.Field12 = Evaluated16(parser, 12);
  part.Field13 = Evaluated(parser, 13);
  part.Field14 = Evaluated(parser, 14);
  part.Field15 = std::string(parser.Field(15));
  parts_.push_back(std::move(part));
}

void ArdisReader::ReadBoard(const FieldParser& parser) {
  ArdisBoardRecord board;
  board.Name = model_.Texts.Keep(parser.Field(2));
  board.Width = Evaluated(parser, 3);
  board.Length = Evaluated(parser, 4);
  board.Field5 = Evaluated16(parser, 5);
  board.Field6 = Evaluated(parser, 6);
  board.Field7 = Evaluated(parser, 7);
  for (int i = 0; i < 3; ++i) board.Texts8To10[i] = std::string(parser.Field(8 + i));
  boards_.push_back(std::move(board));
}

void ArdisReader::ReadPatternCode(const FieldParser& parser) {
  if (patCount_ == std::numeric_limits<std::int16_t>::max()) {
    if (!patternsFull_) Warn("more patterns than can be numbered; the rest of the file is not read");
    patternsFull_ = true;
    return;
  }
  ++patCount_;
  // The code runs from after "PTN3," up to the first letter I.
  std::string_view line = parser.LineText();
  std::string_view piece = line.substr(0, line.find('I'));
  std::string_view code = piece.size() > RecordTypeLength ? piece.substr(RecordTypeLength) : std::string_view();
  auto items = ExpandPatternCode(code, scratch_);
  if (!items) return Warn("the pattern code expands to more cuts than can be imported; pattern skipped");
  if (!InTable(board_, boards_.size()))
    return Warn("pattern names board " + std::to_string(board_) + ", which is not in the file; skipped");
  for (const PatternCodeItem& item : *items) {
    if (model_.CutsFull) return;
    AddItem(item.Item, item.Level);
  }
}

void ArdisReader::AddItem(std::string_view item, int level) {
  const std::int32_t partIndex = ToInt32(ValueOf(item));
  if (partIndex == 0 || !InTable(partIndex, parts_.size()))
    return Warn("pattern item " + std::string(item) + " names no part of the file; skipped");
  if (level > std::numeric_limits<std::int16_t>::max())
    return Warn("pattern item " + std::string(item) + " lies deeper than level 32767; skipped");
  const ArdisPart& part = parts_[partIndex];
  const bool turnedItem = item.find('!') != std::string_view::npos;
  const float dim = turnedItem ? part.TurnedDim : part.Dim;
  // A cut of no length would end its group's total, and the group with it.
  if (dim == 0) return Warn("pattern item " + std::string(item) + " has no length; skipped");
  const ArdisBoardRecord& board = boards_[board_];
  PatCut* added = NewCut();
  if (!added) return;
  PatCut& cut = *added;
  cut.PatNo = patCount_;
  cut.BoardDesc = board.Name;
  cut.BoardWid = board.Width;
  cut.BoardLen = board.Length;
  cut.CutQty = 1;
  cut.CutLevel = static_cast<std::int16_t>(level);
  cut.PartLabel = part.Name;
  cut.CutDim = dim;
  const bool odd = cut.CutLevel % 2 != 0;
  cut.LoadLong = turned_ ? odd : !odd;
  ListCut();
}

}  // namespace orl
