#include "saw/optimizer/csv_cut_reader.h"

#include <cctype>

#include "saw/optimizer/text_encoding.h"
#include "saw/shell/path_parts.h"

namespace orl {

namespace {
constexpr const char* LabelHead = "ORL Ardis,";
constexpr char LongMark = 'L';

// "L" or "l", blanks around it allowed.
bool IsLongMark(std::string_view field) {
  const std::size_t first = field.find_first_not_of(' ');
  const std::size_t last = field.find_last_not_of(' ');
  return first != std::string_view::npos && first == last &&
         std::toupper(static_cast<unsigned char>(field[first])) == LongMark;
}
}  // namespace

CsvCutReader::CsvCutReader(OptimizerModel& model, const std::string& ardisPath)
    : OptimizerReader(model), labelPrefix_(LabelHead) {
  AppendAsUtf8(labelPrefix_, FolderPart(ardisPath));
}

void CsvCutReader::ReadLine(FieldParser& parser) {
  // Header and blank lines have no board length.
  const float boardLen = FloatValue(parser, 4);
  if (!(boardLen > 0)) return;
  std::int16_t patNo = 0, level = 0, qty = 0;
  if (!KeyValue16(parser, 2, patNo) || !KeyValue16(parser, 14, level) || !KeyValue16(parser, 15, qty)) return;
  PatCut* added = NewCut();
  if (!added) return;
  PatCut& cut = *added;
  TextStore& texts = model_.Texts;
  cut.SourceTag = texts.KeepLike(last_.SourceTag, parser.Field(1));
  cut.PatNo = patNo;
  cut.BoardDesc = texts.KeepLike(last_.BoardDesc, parser.Field(3));
  cut.BoardLen = boardLen;
  cut.BoardWid = FloatValue(parser, 5);
  cut.TrimShort = FloatValue(parser, 6);
  cut.TrimLong = FloatValue(parser, 7);
  cut.EndTrimWid = FloatValue(parser, 8);
  cut.EndTrimLen = FloatValue(parser, 9);
  cut.PatSheets = Value16(parser, 10);
  cut.BookMax = Value16(parser, 11);
  cut.LoadLong = IsLongMark(parser.Field(12));
  cut.CutDim = FloatValue(parser, 13);
  cut.CutLevel = level;
  cut.CutQty = qty;
  cut.PartLabel = texts.KeepLike(last_.PartLabel, parser.Field(16));
  cut.PartRef = Value16(parser, 17);
  cut.BookLabels = BookLabels(cut, parser.Field(17));
  ListCut();
  last_ = cut;
}

std::span<const std::string_view> CsvCutReader::BookLabels(const PatCut& cut, std::string_view partRefText) {
  if (cut.PartRef == 0) return EmptyBookLabels();
  label_.assign(labelPrefix_).append(cut.SourceTag).append(1, ',');
  AppendAsUtf8(label_, partRefText);  // the other parts already are UTF-8
  // The cut before had the same tag and reference: its label is this one.
  if (last_.BookLabels.size() == 2 && last_.BookLabels[1] == label_) return last_.BookLabels;
  std::span<std::string_view> labels = model_.Texts.NewList(2);
  labels[1] = model_.Texts.Keep(label_);
  return labels;
}

}  // namespace orl
