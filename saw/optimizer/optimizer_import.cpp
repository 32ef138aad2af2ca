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
// Bytes of a file per cut it describes, to make room ahead: a CSV cut record
// takes some 64, a CPOut CUT1 line some 16, and one Ardis pattern code line
// expands into tens of cuts. PTX makes its own room once its cuts are known.
std::uintmax_t BytesPerCutGuess(FileKind kind) {
  switch (kind) {
    case FileKind::CpOut: return 16;
    case FileKind::Ardis: return 2;
    case FileKind::Ptx:
    case FileKind::Csv: break;
  }
  return 64;
}

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
  // Room made ahead saves moving every cut each time the list outgrows its
  // space; what is never filled is never touched.
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  if (!error)
    model.PatCuts.reserve(
        std::min<std::uintmax_t>(size / BytesPerCutGuess(model.OptFileKind), OptimizerModel::MaxCuts) + 1);
  FieldParser parser;
  auto reader = ReaderFor(model, ardisPath);
  if (!parser.ScanFile(path, *reader)) {
    model.Warnings.Add("cannot open " + path);
    return false;
  }
  if (!model.Pat.Items.empty()) model.Pat.ListIndex = 0;
  return true;
}

}  // namespace orl
