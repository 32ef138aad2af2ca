// Reader of CSV cut-record files: one cut per line, its fields in the order
// of the cut record.
#pragma once

#include <string>

#include "saw/optimizer/optimizer_reader.h"

namespace orl {

class CsvCutReader : public OptimizerReader {
 public:
  // `ardisPath` is the Ardis data path; its folder goes into each label.
  CsvCutReader(OptimizerModel& model, const std::string& ardisPath);

 protected:
  void ReadLine(FieldParser& parser) override;

 private:
  // Entries 0..1; entry 1 labels a cut with a part reference.
  // `partRefText` is the reference as the file writes it.
  std::span<const std::string_view> BookLabels(const PatCut& cut, std::string_view partRefText);

  std::string labelPrefix_;  // "ORL Ardis," and the Ardis data folder
  std::string label_;        // the book label being built, reused line after line
  PatCut last_;              // the cut read before, whose texts the next one may share
};

}  // namespace orl
