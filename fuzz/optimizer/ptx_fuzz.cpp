#include "fuzz_import.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  orl::fuzz::ImportBytes<orl::PtxReader>(orl::FileKind::Ptx, data, size);
  return 0;
}
