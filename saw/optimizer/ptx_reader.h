// Reader of PTX files: the BOARDS, PATTERNS and CUTS tables are read first
// and turned into cuts at the end of the file, when all three are known.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "saw/optimizer/optimizer_reader.h"

namespace orl {

struct PtxBoard {
  std::int16_t Field2 = 0;
  std::int16_t Field3 = 0;
  std::string Field4;  // evaluated, kept as text
  std::int16_t Field5 = 0;
  float Width = 0;     // field 6
  float Length = 0;    // field 7
  std::int32_t Field8 = 0;
  std::int32_t Field9 = 0;
  float Field10 = 0;
};

struct PtxPattern {
  std::int16_t Field2 = 0;
  std::int16_t Field3 = 0;
  std::int16_t Board = 0;        // field 4: index into the boards table
  std::int16_t Orientation = 0;  // field 5: 1 or more rotates the load
  std::int16_t Sheets = 0;       // field 6
  std::int16_t Field7 = 0;
  std::int16_t BookMax = 0;      // field 8
};

struct PtxCutRecord {
  std::int16_t Field2 = 0;
  std::int16_t Pattern = 0;   // field 3: index into the patterns table
  std::int16_t PartRef = 0;   // field 4
  std::int16_t Field5 = 0;
  std::int16_t Level = 0;     // field 6
  float Dim = 0;              // field 7
  std::int16_t Qty = 0;       // field 8
  std::int16_t Label = 0;     // field 9
  std::string_view Field10;  // kept in the model's text store
};

class PtxReader : public OptimizerReader {
 public:
  explicit PtxReader(OptimizerModel& model);

  // Room for the CUTS table; the cuts get theirs once the table is read.
  void MakeRoom(std::uintmax_t fileBytes) override;

  const std::vector<PtxBoard>& PtxBoards() const { return boards_; }
  const std::vector<PtxPattern>& PtxPatterns() const { return patterns_; }
  const std::vector<PtxCutRecord>& PtxCuts() const { return cuts_; }

 protected:
  void ReadLine(FieldParser& parser) override;
  void BuildCutsAtEnd() override;

 private:
  // Dimensions may be written 48-1/2 for 48.5.
  float Dimension(const FieldParser& parser, int field);
  void ReadBoard(const FieldParser& parser);
  void ReadPattern(const FieldParser& parser);
  void ReadCut(const FieldParser& parser);
  void BuildCut(const PtxCutRecord& record, std::size_t recordIndex);

  std::vector<PtxBoard> boards_;
  std::vector<PtxPattern> patterns_;
  std::vector<PtxCutRecord> cuts_;
  std::vector<std::int64_t> cutLines_;  // file line of each CUTS record, for warnings
  std::string dimension_;               // a dimension being rewritten, reused
};

}  // namespace orl
