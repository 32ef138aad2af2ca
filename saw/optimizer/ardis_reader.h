// Reader of Ardis (.SAW) files: parts (PNL2), boards (BRD2), the board of
// the next pattern (PTN2) and the pattern code (PTN3) that is expanded into
// cuts level by level.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "saw/optimizer/optimizer_reader.h"

namespace orl {

struct ArdisPart {
  std::string_view Name;  // field 2, the part label, kept in the model's text store
  std::string Field3;
  float Dim = 0;          // field 4
  float TurnedDim = 0;    // field 5, for items marked "!"
  std::int16_t Field6 = 0;
  bool Field7 = false;
  std::string Texts8To11[4];
  std::int16_t Field12 = 0;
  float Field13 = 0;
  float Field14 = 0;
  std::string Field15;
};

struct ArdisBoardRecord {
  std::string_view Name;  // field 2, kept in the model's text store
  float Width = 0;     // field 3
  float Length = 0;    // field 4
  std::int16_t Field5 = 0;
  float Field6 = 0;
  float Field7 = 0;
  std::string Texts8To10[3];
};

class ArdisReader : public OptimizerReader {
 public:
  explicit ArdisReader(OptimizerModel& model);

  // One pattern code line expands into tens of cuts.
  void MakeRoom(std::uintmax_t fileBytes) override { ReserveCuts(fileBytes / 2); }

  void BeginOfFile(FieldParser& parser) override;

  const std::vector<ArdisPart>& ArdisParts() const { return parts_; }
  const std::vector<ArdisBoardRecord>& ArdisBoards() const { return boards_; }

 protected:
  void ReadLine(FieldParser& parser) override;

 private:
  void ReadPart(const FieldParser& parser);
  void ReadBoard(const FieldParser& parser);
  void ReadPatternCode(const FieldParser& parser);
  void AddItem(std::string_view item, int level);

  std::vector<ArdisPart> parts_;
  std::vector<ArdisBoardRecord> boards_;
  std::int16_t board_ = 0;     // ArdisBoard
  bool turned_ = false;        // ArdisTurned
  std::int16_t patCount_ = 0;  // ArdisPatCount
  bool patternsFull_ = false;
  FieldParser scratch_;  // splits the pattern code
};

}  // namespace orl
