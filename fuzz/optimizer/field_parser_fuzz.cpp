// The field parser on its own: the first line chooses the separators, every
// later line is split, rewritten field by field and evaluated.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "saw/optimizer/ardis_pattern_code.h"
#include "saw/optimizer/eval_number.h"
#include "saw/optimizer/field_parser.h"

namespace {

struct Exerciser : orl::ScanHandler {
  std::string separators = ",";
  orl::ExpressionEvaluator evaluator;
  orl::FieldParser scratch;

  void Line(orl::FieldParser& parser) override {
    if (parser.LineNumber() == 1) {
      separators = parser.LineText().substr(0, 4);
      return;
    }
    parser.SetSeparators(separators);
    const int count = parser.FieldCount();
    for (int i = count + 2; i >= 0; --i) {
      std::string field(parser.Field(i));
      (void)orl::EvalNumber(field, evaluator);
      parser.SetField(i, field);
    }
    (void)parser.Value();
    (void)orl::ExpandPatternCode(parser.LineText(), scratch);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  orl::FieldParser parser;
  Exerciser exerciser;
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  parser.ScanStream(in, exerciser);
  return 0;
}
