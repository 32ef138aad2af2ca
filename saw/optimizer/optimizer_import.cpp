#include "saw/optimizer/optimizer_import.h"

#include <algorithm>
#include <filesystem>
#include <memory>

#include "saw/optimizer/ardis_reader.h"
#include "saw/optimizer/cpout_reader.h"
#include "saw/optimizer/csv_cut_reader.h"
#include "saw/optimizer/file_kind.h"
#include "saw/optimizer/ptx_reader.h"
#include "saw/shell/path_parts.h"

namespace orl {

namespace {
std::unique_ptr<OptimizerReader> ReaderFor(OptimizerModel& model, const std::string& ardisPath) {
  switch (model.OptFileKind) {
    case FileKind::CpOut: return std::make_unique<CpOutReader>(model);
    case FileKind::Ptx: return std::make_unique<PtxReader>(model);
    case FileKind::Ardis: return std::make_unique<ArdisReader>(model);
    case FileKind::Csv: break;
  }
  return std::make_unique<CsvCutReader>(model, ardisPath);
}
}  // namespace

std::string OptimizerFilePath(const std::string& folder, const std::string& fileName) {
  return WithTrailingSeparator(folder) + fileName;
}

bool ImportOptimizerFile(OptimizerModel& model, const std::string& folder, const std::string& fileName,
                         const std::string& ardisPath) {
  model.ResetForImport(KindFromFileName(fileName));
  const std::string path = OptimizerFilePath(folder, fileName);
  FieldParser parser;
  auto reader = ReaderFor(model, ardisPath);
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  if (!error) reader->MakeRoom(size);
  if (!parser.ScanFile(path, *reader)) {
    model.Warnings.Add("cannot open " + path);
    return false;
  }
  if (!model.Pat.Items.empty()) model.Pat.ListIndex = 0;
  return true;
}

}  // namespace orl
