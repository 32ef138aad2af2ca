#include "saw/optimizer/cpout_reader.h"

#include <limits>

#include "saw/optimizer/text_encoding.h"

namespace orl {

namespace {
constexpr const char* LabelLineEnd = "\r\n";
constexpr std::int16_t MaxPatterns = std::numeric_limits<std::int16_t>::max();

bool IsOdd(int level) { return level % 2 != 0; }
}  // namespace

std::vector<std::int16_t> DealSheets(std::int16_t sheets, std::int16_t books) {
  if (books < 1) return std::vector<std::int16_t>(1, 0);
  std::vector<std::int16_t> dealt(static_cast<std::size_t>(books) + 1, 0);
  int perBook = sheets / books;
  int remainder = sheets % books;
  for (int i = 1; i <= books; ++i) dealt[i] = static_cast<std::int16_t>(perBook + (i <= remainder ? 1 : 0));
  return dealt;
}

CpOutReader::CpOutReader(OptimizerModel& model)
    : OptimizerReader(model), orders_(1), stocks_(1), parts_(1) {}

void CpOutReader::ReadLine(FieldParser& parser) {
  // Every line is checked against each type: no upper-cased copy is made.
  const std::string_view first = parser.Field(1);
  auto type = [first](std::string_view name) { return IsRecord(first, name); };
  if (type("CUT1")) ReadCut(parser);  // by far the most lines: checked first
  else if (type("ORD3")) ReadOrder(parser);
  else if (type("INV1")) ReadStock(parser);
  else if (type("INV2")) ReadStockDescription(parser);
  else if (type("PRT1")) ReadPart(parser);
  else if (type("PRT2") || type("PRT3") || type("PRT4")) AppendPartLine(parser, true);
  else if (type("PRT5")) AppendPartLine(parser, false);
  else if (type("PAT1")) ReadPattern(parser);
  // HDR1, HDR2, CTL1, CTL2, THK1 and unknown records carry nothing we keep.
}

void CpOutReader::ReadOrder(const FieldParser& parser) {
  orders_.push_back({Evaluated16(parser, 2), Evaluated16(parser, 3)});
}

void CpOutReader::ReadStock(const FieldParser& parser) {
  stocks_.push_back({Evaluated(parser, 5), Evaluated(parser, 6), Evaluated(parser, 7), Evaluated(parser, 8), {}});
}

void CpOutReader::ReadStockDescription(const FieldParser& parser) {
  if (stocks_.size() < 2) return Warn("INV2 before any INV1 is ignored");
  stocks_.back().Description = model_.Texts.Keep(parser.Field(2));
}

void CpOutReader::ReadPart(const FieldParser& parser) {
  CpPart part;
  part.Field2 = Evaluated16(parser, 2);
  part.Field3 = Evaluated16(parser, 3);
  part.Field4 = Evaluated(parser, 4);
  part.Field5 = Evaluated(parser, 5);
  for (int i = 0; i < 4; ++i) part.Texts[i] = model_.Texts.Keep(parser.Field(6 + i));
  AppendAsUtf8(part.Record, parser.LineText());  // line by line: each is UTF-8 or Windows-1252 on its own
  part.Record += ',';
  parts_.push_back(std::move(part));
  ++partsVersion_;
}

void CpOutReader::AppendPartLine(const FieldParser& parser, bool withComma) {
  if (parts_.size() < 2) return Warn(RecordType(parser) + " before any PRT1 is ignored");
  std::string& record = parts_.back().Record;
  AppendAsUtf8(record, parser.LineText());
  if (withComma) record += ',';
  ++partsVersion_;
}

void CpOutReader::ReadPattern(const FieldParser& parser) {
  if (patCount_ == MaxPatterns) {
    if (!patternsFull_) Warn("more patterns than can be numbered; the rest of the file is not read");
    patternsFull_ = true;
    return;
  }
  ++patCount_;
  patStock_ = Value16(parser, 2);
  patOrient_ = std::string(parser.Field(3));
  patSheets_ = Value16(parser, 4);
  patBooks_ = Value16(parser, 5);
  if (patSheets_ < 0) {
    Warn("PAT1 gives a negative number of sheets; taken as 0");
    patSheets_ = 0;
  }
  if (patBooks_ < 0) {
    Warn("PAT1 gives a negative number of books; the pattern has no books");
    patBooks_ = 0;
  } else if (patBooks_ > MaxBooks) {
    Warn("PAT1 gives " + std::to_string(patBooks_) + " books; the sheets are dealt into " +
         std::to_string(MaxBooks));
    patBooks_ = MaxBooks;
  }
  model_.PatBooks.resize(static_cast<std::size_t>(patCount_) + 1);
  model_.PatBooks[patCount_] = DealSheets(patSheets_, patBooks_);
}

void CpOutReader::ReadCut(const FieldParser& parser) {
  if (patternsFull_) return;
  std::int16_t level = 0;
  if (!KeyValue16(parser, 2, level)) return;
  PatCut* added = NewCut();
  if (!added) return;
  PatCut& cut = *added;
  cut.PatNo = patCount_;
  cut.CutLevel = level;
  cut.CutDim = Evaluated(parser, 3);
  if (InTable(patStock_, stocks_.size())) {
    const CpStock& stock = stocks_[patStock_];
    cut.BoardLen = stock.Length;
    cut.BoardWid = stock.Width;
    cut.TrimShort = stock.TrimShort;
    cut.TrimLong = stock.TrimLong;
    cut.BoardDesc = stock.Description;
  } else {
    Warn("CUT1 of a pattern whose stock " + std::to_string(patStock_) + " is not in the file has no board");
  }
  cut.LoadLong = (patOrient_ == "L") == IsOdd(cut.CutLevel);
  cut.CutQty = 1;
  Label(cut, Value16(parser, 5));
  ListCut();
}

void CpOutReader::Label(PatCut& cut, int order) {
  cut.BookLabels = NoLabels();
  // The cut itself is complete without them: only its labels are lost.
  if (!InTable(order, orders_.size()))
    return Warn("CUT1 names order line " + std::to_string(order) + ", which is not in the file; the cut has no labels");
  const int firstPart = orders_[order].FirstPart;
  cut.PartRef = static_cast<std::int16_t>(firstPart);
  if (!InTable(firstPart, parts_.size()))
    return Warn("CUT1 names part " + std::to_string(firstPart) + ", which is not in the file; the cut has no labels");
  if (labelCounters_.size() <= static_cast<std::size_t>(order)) labelCounters_.resize(order + 1, 0);
  if (labelCounters_[order] >= orders_[order].LabelCount) labelCounters_[order] = 0;
  cut.PartLabel = parts_[firstPart].Texts[1];
  if (order != 0) cut.BookLabels = DealLabels(order);
}

std::span<const std::string_view> CpOutReader::NoLabels() const {
  static constexpr std::string_view Empty[MaxBooks + 1];
  return std::span<const std::string_view>(Empty).first(static_cast<std::size_t>(patBooks_) + 1);
}

std::span<const std::string_view> CpOutReader::DealLabels(int order) {
  std::span<const std::string_view> labels;
  if (ShareDealtBefore(order, labels)) return labels;
  const std::int16_t fromCounter = labelCounters_[order];
  const std::size_t bytesBefore = labelBytes_;
  bool complete = true;
  labels = BuildLabels(order, complete);
  // A deal cut short (a warning, the byte limit) is not one to repeat.
  if (complete) {
    if (lastDealt_.size() <= static_cast<std::size_t>(order)) lastDealt_.resize(static_cast<std::size_t>(order) + 1);
    lastDealt_[order] = {patCount_, fromCounter, labelCounters_[order], partsVersion_, labelBytes_ - bytesBefore, labels};
  }
  return labels;
}

bool CpOutReader::ShareDealtBefore(int order, std::span<const std::string_view>& labels) {
  if (static_cast<std::size_t>(order) >= lastDealt_.size()) return false;
  const Dealt& last = lastDealt_[order];
  // Another pattern that deals its sheets into books the same way deals the
  // same labels.
  if (last.FromCounter != labelCounters_[order] || last.PartsVersion != partsVersion_ ||
      model_.PatBooks[last.Pattern] != model_.PatBooks[patCount_])
    return false;
  // The shared texts count against the file's label limit as built ones do;
  // a deal that would reach it is built, so it stops and warns as it should.
  if (labelBytes_ + last.Bytes >= MaxLabelBytes) return false;
  labelBytes_ += last.Bytes;
  labelCounters_[order] = last.ToCounter;
  labels = last.Labels;
  return true;
}

std::span<std::string_view> CpOutReader::BuildLabels(int order, bool& complete) {
  const CpOrder& line = orders_[order];
  std::int16_t& counter = labelCounters_[order];
  const std::vector<std::int16_t>& books = model_.PatBooks[patCount_];
  std::span<std::string_view> labels = model_.Texts.NewList(static_cast<std::size_t>(patBooks_) + 1);
  bool stop = false;
  for (int b = 1; b <= patBooks_ && !stop; ++b) {
    label_.clear();
    for (int sheet = 0; sheet < books[b] && counter < line.LabelCount; ++sheet) {
      const int part = line.FirstPart + counter;
      if (!InTable(part, parts_.size())) {
        Warn("the labels of order line " + std::to_string(order) + " run past the parts of the file");
        stop = true;
        break;
      }
      if (labelBytes_ >= MaxLabelBytes) {  // warned once when the limit was reached
        stop = true;
        break;
      }
      const std::string& record = parts_[part].Record;
      label_ += record;
      label_ += LabelLineEnd;
      labelBytes_ += record.size() + 2;
      if (labelBytes_ >= MaxLabelBytes) Warn("the book labels of this file are too large; later labels are left out");
      ++counter;
    }
    if (label_.size() >= 2) label_.resize(label_.size() - 2);  // no line end after the last label
    labels[b] = model_.Texts.Keep(label_);
  }
  complete = !stop && labelBytes_ < MaxLabelBytes;
  return labels;
}

}  // namespace orl
