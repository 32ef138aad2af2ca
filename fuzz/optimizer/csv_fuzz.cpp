#include "fuzz_import.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  orl::fuzz::ImportBytes<orl::CsvCutReader>(orl::FileKind::Csv, data, size, std::string("C:\\Ardis\\Data\\a.ini"));
  return 0;
}
