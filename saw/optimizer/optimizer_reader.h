// The part every optimizer file reader shares: the begin-of-file reset, the
// number readers and the warnings of the file being read.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <span>
#include <string_view>

#include "saw/optimizer/eval_number.h"
#include "saw/optimizer/expression_evaluator.h"
#include "saw/optimizer/field_parser.h"
#include "saw/optimizer/optimizer_model.h"

namespace orl {

class OptimizerReader : public ScanHandler {
 public:
  explicit OptimizerReader(OptimizerModel& model) : model_(model) {}

  void BeginOfFile(FieldParser& parser) override;
  void Line(FieldParser& parser) final;
  // Builds what only the whole file gives, then gathers each pattern's cuts.
  void EndOfFile(FieldParser& parser) final;

  // Makes room ahead for what a file of `fileBytes` bytes likely holds, so
  // no table is moved each time it outgrows its space; room never filled is
  // never touched. By default, room for the cuts of one cut per line.
  virtual void MakeRoom(std::uintmax_t fileBytes) { ReserveCuts(fileBytes / BytesPerCutLine); }

 protected:
  // One line, already split at commas.
  virtual void ReadLine(FieldParser& parser) = 0;
  // The cuts of a file kind that knows them only once every line is read.
  virtual void BuildCutsAtEnd() {}

  // Field read as an expression ("48 1/2" is 48.5).
  // These wrappers sit inline: they run for nearly every field of a file.
  float Evaluated(const FieldParser& parser, int field) {
    return Finite(EvalNumber(parser.Field(field), evaluator_), field);
  }
  std::int16_t Evaluated16(const FieldParser& parser, int field) {
    if (std::int16_t small = 0; ReadSmallWhole(parser.Field(field), small)) return small;
    return Checked16(EvalNumber(parser.Field(field), evaluator_), field);
  }
  // Field read by its leading number.
  static double ValueOf(const FieldParser& parser, int field) { return ValueOf(parser.Field(field)); }
  static double ValueOf(std::string_view text);
  float FloatValue(const FieldParser& parser, int field) {
    return Finite(static_cast<float>(ValueOf(parser, field)), field);
  }
  std::int16_t Value16(const FieldParser& parser, int field) {
    if (std::int16_t small = 0; ReadSmallWhole(parser.Field(field), small)) return small;
    return Checked16(ValueOf(parser, field), field);
  }
  // A pattern number, level or count, read by value or as an expression.
  // Held to 16 bits it would merge two patterns or change the cut, so such a
  // value gives false (with a warning) and the caller skips its record.
  bool KeyValue16(const FieldParser& parser, int field, std::int16_t& value) {
    if (ReadSmallWhole(parser.Field(field), value)) return true;
    return Key16(ValueOf(parser, field), field, value);
  }
  bool KeyEvaluated16(const FieldParser& parser, int field, std::int16_t& value) {
    if (ReadSmallWhole(parser.Field(field), value)) return true;
    return Key16(EvalNumber(parser.Field(field), evaluator_), field, value);
  }
  // A division by 0 or a number too large for the field is no size at
  // all: it reads as 0, with a warning.
  float Finite(float value, int field) {
    if (std::isfinite(value)) [[likely]] return value;
    return NotFinite(field);
  }
  // The record type: field 1 upper-cased.
  static std::string RecordType(const FieldParser& parser);
  // Whether `type` (field 1 of a line) is the record type `upperName`, in
  // any letter case, as RecordType would upper-case it.
  static bool IsRecord(std::string_view type, std::string_view upperName) {
    if (type.size() != upperName.size()) return false;
    for (std::size_t i = 0; i < type.size(); ++i)
      if (type[i] != upperName[i] && !SameUpper(type[i], upperName[i])) return false;
    return true;
  }

  // Whether an index read from the file names an entry of a table (entry 0,
  // the empty one, included).
  static bool InTable(int index, std::size_t size) { return index >= 0 && static_cast<std::size_t>(index) < size; }

  // Room for `count` more cuts, within the model's limit.
  void ReserveCuts(std::uintmax_t count);
  // Bytes of a cut line as optimizers write them, give or take.
  static constexpr std::uintmax_t BytesPerCutLine = 64;

  void Warn(const std::string& text);
  // Book label entries 0..1, both empty, shared by every cut that has them.
  static std::span<const std::string_view> EmptyBookLabels() {
    static constexpr std::string_view Empty[2];
    return Empty;
  }
  // A new cut to fill in place (nullptr once the model holds as many cuts
  // as it may); ListCut lists it when its fields are set.
  PatCut* NewCut() { return model_.NewCut(line_); }
  void ListCut(bool clearPatOnFirst = true) { model_.ListCut(clearPatOnFirst); }

  OptimizerModel& model_;
  ExpressionEvaluator evaluator_;
  std::int64_t line_ = 0;

 private:
  std::int16_t Checked16(double value, int field);
  bool Key16(double read, int field, std::int16_t& value);
  float NotFinite(int field);
  static bool SameUpper(char c, char upper);
};

}  // namespace orl
