#include "fuzz_import.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  orl::fuzz::ImportBytes<orl::CpOutReader>(orl::FileKind::CpOut, data, size);
  return 0;
}
