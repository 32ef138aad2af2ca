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
  std::string labelPrefix_;  // "ORL Ardis," and the Ardis data folder
};

}  // namespace orl
