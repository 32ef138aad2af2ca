// Reader of CPOut files: order lines, stocks, parts, patterns (PAT1) and
// their cuts (CUT1), with the book labels of every cut.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "saw/optimizer/optimizer_reader.h"

namespace orl {

struct CpOrder {
  std::int16_t LabelCount = 0;
  std::int16_t FirstPart = 0;  // index into the parts table
};

struct CpStock {
  float Length = 0;
  float Width = 0;
  float TrimShort = 0;
  float TrimLong = 0;
  std::string_view Description;  // kept in the model's text store
};

struct CpPart {
  std::int16_t Field2 = 0;
  std::int16_t Field3 = 0;
  float Field4 = 0;
  float Field5 = 0;
  std::string_view Texts[4];  // PRT1 fields 6..9, kept in the model's text store; field 7 is the part label
  std::string Record;    // the part's PRT lines, joined by commas
};

class CpOutReader : public OptimizerReader {
 public:
  // More books than the books frame has buttons cannot be chosen.
  static constexpr int MaxBooks = 17;
  // Book label text a whole file may produce; past it labels are dropped.
  static constexpr std::size_t MaxLabelBytes = 64u << 20;

  explicit CpOutReader(OptimizerModel& model);

  // A CUT1 line takes some 16 bytes.
  void MakeRoom(std::uintmax_t fileBytes) override { ReserveCuts(fileBytes / 16); }

  const std::vector<CpOrder>& CpOrders() const { return orders_; }
  const std::vector<CpStock>& CpStocks() const { return stocks_; }
  const std::vector<CpPart>& CpParts() const { return parts_; }

 protected:
  void ReadLine(FieldParser& parser) override;

 private:
  void ReadOrder(const FieldParser& parser);
  void ReadStock(const FieldParser& parser);
  void ReadStockDescription(const FieldParser& parser);
  void ReadPart(const FieldParser& parser);
  void AppendPartLine(const FieldParser& parser, bool withComma);
  void ReadPattern(const FieldParser& parser);
  void ReadCut(const FieldParser& parser);
  // The part label, reference and book labels that order line `order` gives.
  void Label(PatCut& cut, int order);
  // The label of every book of the current pattern, entry 0 empty.
  std::span<const std::string_view> DealLabels(int order);
  std::span<std::string_view> BuildLabels(int order, bool& complete);

  // An empty label for every book of the current pattern.
  std::span<const std::string_view> NoLabels() const;

  // What an order line dealt last. Dealing again from the same label
  // counter, into books of the same sheets and with the same parts, gives
  // the very same texts: they are shared instead of built and kept again.
  struct Dealt {
    std::int16_t Pattern = 0;  // whose books the labels were dealt into
    std::int16_t FromCounter = -1;
    std::int16_t ToCounter = 0;
    std::uint64_t PartsVersion = 0;
    std::size_t Bytes = 0;
    std::span<const std::string_view> Labels;
  };
  bool ShareDealtBefore(int order, std::span<const std::string_view>& labels);

  std::vector<CpOrder> orders_;
  std::vector<CpStock> stocks_;
  std::vector<CpPart> parts_;
  std::vector<std::int16_t> labelCounters_;  // CpLabelCounters, by order line
  std::int16_t patCount_ = 0;                // CpPatCount
  std::int16_t patStock_ = 0;                // CpPatStock
  std::string patOrient_;                    // CpPatOrient
  std::int16_t patSheets_ = 0;               // CpPatSheets
  std::int16_t patBooks_ = 0;                // CpPatBooks
  bool patternsFull_ = false;
  std::size_t labelBytes_ = 0;
  std::string label_;  // the book label being built, reused cut after cut
  std::vector<Dealt> lastDealt_;     // by order line
  std::uint64_t partsVersion_ = 0;   // counts the PRT records read
};

// Deals sheets to books: each gets sheets div books, and books 1, 2, ...
// one more while the remainder lasts (10 in 4 gives 3, 3, 2, 2). Entry 0 of
// the result is unused.
std::vector<std::int16_t> DealSheets(std::int16_t sheets, std::int16_t books);

}  // namespace orl
