#include "saw/optimizer/csv_cut_reader.h"

#include <cctype>

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
    : OptimizerReader(model), labelPrefix_(LabelHead + FolderPart(ardisPath)) {}

void CsvCutReader::ReadLine(FieldParser& parser) {
  // Header and blank lines have no board length.
  const double boardLen = ValueOf(parser, 4);
  if (!(boardLen > 0)) return;
  PatCut* added = NewCut();
  if (!added) return;
  PatCut& cut = *added;
  cut.SourceTag.assign(parser.Field(1));
  cut.PatNo = Value16(parser, 2);
  cut.BoardDesc.assign(parser.Field(3));
  cut.BoardLen = static_cast<float>(boardLen);
  cut.BoardWid = static_cast<float>(ValueOf(parser, 5));
  cut.TrimShort = static_cast<float>(ValueOf(parser, 6));
  cut.TrimLong = static_cast<float>(ValueOf(parser, 7));
  cut.EndTrimWid = static_cast<float>(ValueOf(parser, 8));
  cut.EndTrimLen = static_cast<float>(ValueOf(parser, 9));
  cut.PatSheets = Value16(parser, 10);
  cut.BookMax = Value16(parser, 11);
  cut.LoadLong = IsLongMark(parser.Field(12));
  cut.CutDim = static_cast<float>(ValueOf(parser, 13));
  cut.CutLevel = Value16(parser, 14);
  cut.CutQty = Value16(parser, 15);
  cut.PartLabel.assign(parser.Field(16));
  cut.PartRef = Value16(parser, 17);
  cut.BookLabels.resize(2);
  if (cut.PartRef != 0) {
    const std::string_view ref = parser.Field(17);
    std::string& label = cut.BookLabels[1];
    label.reserve(labelPrefix_.size() + cut.SourceTag.size() + 1 + ref.size());
    label.append(labelPrefix_).append(cut.SourceTag).append(1, ',').append(ref);
  }
  ListCut();
}

}  // namespace orl
