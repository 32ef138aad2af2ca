#include "saw/optimizer/optimizer_reader.h"

#include "saw/optimizer/eval_number.h"
#include "saw/shell/path_parts.h"
#include "saw/shell/text_number.h"

#include <cctype>
#include <cmath>

namespace orl {

namespace {
constexpr const char* HeldToRangeWarning = " is outside -32768..32767 and was held to that range";
constexpr const char* KeyOutOfRangeWarning =
    " (a pattern number, level or count) is no number in -32768..32767; the record is skipped";
constexpr const char* NotFiniteWarning = " is no finite number (a division by 0 or too large); taken as 0";

std::string FieldText(int field) { return "field " + std::to_string(field); }
}  // namespace

void OptimizerReader::BeginOfFile(FieldParser&) { model_.ResetBooks(); }

void OptimizerReader::Line(FieldParser& parser) {
  line_ = parser.LineNumber();
  parser.SetSeparators(",");
  if (model_.CutsFull) return;
  ReadLine(parser);
}

void OptimizerReader::EndOfFile(FieldParser&) {
  BuildCutsAtEnd();
  model_.GatherPatterns();
}

double OptimizerReader::ValueOf(std::string_view text) {
  double plain = 0;
  return ReadPlainDecimal(text, plain) ? plain : Val(text);  // the same number, found sooner
}

float OptimizerReader::NotFinite(int field) {
  Warn(model_.Warnings.Full() ? std::string() : FieldText(field) + NotFiniteWarning);
  return 0;
}

bool OptimizerReader::Key16(double read, int field, std::int16_t& value) {
  bool clamped = false;
  value = ToInt16(read, &clamped);
  if (std::isfinite(read) && !clamped) return true;
  Warn(model_.Warnings.Full() ? std::string() : FieldText(field) + KeyOutOfRangeWarning);
  return false;
}

std::int16_t OptimizerReader::Checked16(double value, int field) {
  if (!std::isfinite(value)) return static_cast<std::int16_t>(NotFinite(field));
  bool clamped = false;
  std::int16_t result = ToInt16(value, &clamped);
  // A file can earn this on every line; once no more warnings are kept, the
  // text would be thrown away, so only the count is taken.
  if (clamped)
    Warn(model_.Warnings.Full() ? std::string() : FieldText(field) + HeldToRangeWarning);
  return result;
}

std::string OptimizerReader::RecordType(const FieldParser& parser) { return UpperCase(parser.Field(1)); }

bool OptimizerReader::SameUpper(char c, char upper) {
  // Capitals and digits are their own upper case: only other characters
  // need the (locale-aware) conversion that RecordType makes.
  if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return false;
  return std::toupper(static_cast<unsigned char>(c)) == static_cast<unsigned char>(upper);
}

void OptimizerReader::ReserveCuts(std::uintmax_t count) {
  model_.PatCuts.Reserve(static_cast<std::size_t>(std::min<std::uintmax_t>(count, OptimizerModel::MaxCuts)));
}

void OptimizerReader::Warn(const std::string& text) { model_.Warnings.AddAtLine(line_, text); }

}  // namespace orl
