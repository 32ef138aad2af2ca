#include "saw/optimizer/ptx_reader.h"

#include <algorithm>
#include <sstream>

#include "saw/optimizer/eval_number.h"

namespace orl {

namespace {
// Levels 1..9 are cuts; 0 and 10 upward are trims and records we do not draw.
constexpr int FirstCutLevel = 1;
constexpr int LastCutLevel = 9;


// The plain text form of a single-precision number.
std::string FloatText(float value) {
  std::ostringstream out;
  out.precision(7);
  out << value;
  return out.str();
}
}  // namespace

PtxReader::PtxReader(OptimizerModel& model) : OptimizerReader(model), boards_(1), patterns_(1), cuts_(1), cutLines_(1) {}

void PtxReader::MakeRoom(std::uintmax_t fileBytes) {
  const std::size_t records = std::min<std::uintmax_t>(fileBytes / BytesPerCutLine, OptimizerModel::MaxCuts) + 1;
  cuts_.reserve(records);
  cutLines_.reserve(records);
}

void PtxReader::ReadLine(FieldParser& parser) {
  // Every line is checked against each type: no upper-cased copy is made.
  const std::string_view first = parser.Field(1);
  auto type = [first](std::string_view name) { return IsRecord(first, name); };
  if (type("BOARDS")) ReadBoard(parser);
  else if (type("PATTERNS")) ReadPattern(parser);
  else if (type("CUTS")) ReadCut(parser);
}

float PtxReader::Dimension(const FieldParser& parser, int field) {
  const std::string_view written = parser.Field(field);
  if (written.find('-') == std::string_view::npos) return Evaluated(parser, field);  // nothing to turn
  dimension_.assign(written);
  std::replace(dimension_.begin(), dimension_.end(), '-', '+');
  return Finite(EvalNumber(std::string_view(dimension_), evaluator_), field);  // trims only when there are blanks
}

void PtxReader::ReadBoard(const FieldParser& parser) {
  PtxBoard board;
  board.Field2 = Evaluated16(parser, 2);
  board.Field3 = Evaluated16(parser, 3);
  board.Field4 = FloatText(Evaluated(parser, 4));
  board.Field5 = Evaluated16(parser, 5);
  board.Width = Dimension(parser, 6);
  board.Length = Dimension(parser, 7);
  board.Field8 = ToInt32(Evaluated(parser, 8));
  board.Field9 = ToInt32(Evaluated(parser, 9));
  board.Field10 = Evaluated(parser, 10);
  boards_.push_back(std::move(board));
}

void PtxReader::ReadPattern(const FieldParser& parser) {
  patterns_.push_back({Evaluated16(parser, 2), Evaluated16(parser, 3), Evaluated16(parser, 4),
                       Evaluated16(parser, 5), Evaluated16(parser, 6), Evaluated16(parser, 7),
                       Evaluated16(parser, 8)});
}

void PtxReader::ReadCut(const FieldParser& parser) {
  if (cuts_.size() > OptimizerModel::MaxCuts) {
    if (!model_.CutsFull) Warn("the file holds more cuts than can be imported; the rest is not read");
    model_.CutsFull = true;
    return;
  }
  PtxCutRecord cut;
  if (!KeyEvaluated16(parser, 3, cut.Pattern) || !KeyEvaluated16(parser, 6, cut.Level) ||
      !KeyEvaluated16(parser, 8, cut.Qty))
    return;
  cut.Field2 = Evaluated16(parser, 2);
  cut.PartRef = Evaluated16(parser, 4);
  cut.Field5 = Evaluated16(parser, 5);
  cut.Dim = Dimension(parser, 7);
  cut.Label = Evaluated16(parser, 9);
  cut.Field10 = model_.Texts.KeepLike(cuts_.back().Field10, parser.Field(10));
  cuts_.push_back(cut);
  cutLines_.push_back(line_);
}

void PtxReader::BuildCutsAtEnd() {
  model_.Pat.Clear();
  model_.CutsFull = false;  // the limit above already held the table to what fits
  model_.PatCuts.Reserve(cuts_.size());  // every record known now: no regrowth
  for (std::size_t i = 1; i < cuts_.size(); ++i) {
    const PtxCutRecord& record = cuts_[i];
    if (record.Level < FirstCutLevel || record.Level > LastCutLevel) continue;
    BuildCut(record, i);
  }
}

void PtxReader::BuildCut(const PtxCutRecord& record, std::size_t recordIndex) {
  line_ = cutLines_[recordIndex];
  if (!InTable(record.Pattern, patterns_.size()))
    return Warn("CUTS names pattern " + std::to_string(record.Pattern) + ", which is not in the file; skipped");
  const PtxPattern& pattern = patterns_[record.Pattern];
  if (!InTable(pattern.Board, boards_.size()))
    return Warn("pattern " + std::to_string(record.Pattern) + " names board " + std::to_string(pattern.Board) +
                ", which is not in the file; its cut is skipped");
  const PtxBoard& board = boards_[pattern.Board];
  PatCut* added = NewCut();
  if (!added) return;
  PatCut& cut = *added;
  cut.BookLabels = EmptyBookLabels();
  cut.PatNo = record.Pattern;
  cut.BoardLen = board.Length;
  cut.BoardWid = board.Width;
  cut.PatSheets = pattern.Sheets;
  cut.BookMax = pattern.BookMax;
  const bool odd = record.Level % 2 != 0;
  cut.LoadLong = pattern.Orientation >= 1 ? !odd : odd;
  cut.CutDim = record.Dim;
  cut.CutLevel = record.Level;
  cut.CutQty = record.Qty;
  cut.PartLabel = model_.Texts.Keep(std::to_string(record.Label));
  cut.PartRef = record.PartRef;
  ListCut(false);
}

}  // namespace orl
