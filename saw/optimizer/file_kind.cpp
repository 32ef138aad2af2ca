#include "saw/optimizer/file_kind.h"

#include "saw/shell/path_parts.h"

namespace orl {

FileKind KindFromFileName(std::string_view fileName) {
  const std::string upper = UpperCase(fileName);
  if (upper.find("CPOUT") != std::string::npos) return FileKind::CpOut;
  if (upper.find(".SAW") != std::string::npos) return FileKind::Ardis;
  if (upper.find(".PTX") != std::string::npos) return FileKind::Ptx;
  return FileKind::Csv;
}

}  // namespace orl
