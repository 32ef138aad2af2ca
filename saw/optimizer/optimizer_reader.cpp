#include "saw/optimizer/optimizer_reader.h"

#include "saw/optimizer/eval_number.h"
#include "saw/shell/path_parts.h"
#include "saw/shell/text_number.h"

namespace orl {

void OptimizerReader::BeginOfFile(FieldParser&) { model_.ResetBooks(); }

void OptimizerReader::Line(FieldParser& parser) {
  line_ = parser.LineNumber();
  parser.SetSeparators(",");
  if (model_.CutsFull) return;
  ReadLine(parser);
}

float OptimizerReader::Evaluated(const FieldParser& parser, int field) {
  return EvalNumber(parser.Field(field), evaluator_);
}

std::int16_t OptimizerReader::Evaluated16(const FieldParser& parser, int field) {
  return Checked16(Evaluated(parser, field), field);
}

double OptimizerReader::ValueOf(const FieldParser& parser, int field) {
  const std::string_view text = parser.Field(field);
  double plain = 0;
  return ReadPlainDecimal(text, plain) ? plain : Val(text);  // the same number, found sooner
}

std::int16_t OptimizerReader::Value16(const FieldParser& parser, int field) {
  return Checked16(ValueOf(parser, field), field);
}

std::int16_t OptimizerReader::Checked16(double value, int field) {
  bool clamped = false;
  std::int16_t result = ToInt16(value, &clamped);
  if (clamped) Warn("field " + std::to_string(field) + " is outside -32768..32767 and was held to that range");
  return result;
}

std::string OptimizerReader::RecordType(const FieldParser& parser) { return UpperCase(parser.Field(1)); }

void OptimizerReader::Warn(const std::string& text) { model_.Warnings.AddAtLine(line_, text); }

}  // namespace orl
