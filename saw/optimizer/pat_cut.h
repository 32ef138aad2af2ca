// One cut of an imported cutting pattern, as every optimizer file kind gives it.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace orl {

// Field order and types follow the import model; units are the file's own.
// The texts are views: a cut held by an `OptimizerModel` points into the
// model's text store, so they stay valid until the model reads the next file.
struct PatCut {
  std::string_view SourceTag;     // CSV field 1, else empty
  std::int16_t PatNo = 0;
  std::string_view BoardDesc;
  float BoardLen = 0;        // drawn along the horizontal axis
  float BoardWid = 0;
  float TrimShort = 0;       // 0: the machine's rear trim applies
  float TrimLong = 0;
  float EndTrimWid = 0;      // CSV only
  float EndTrimLen = 0;      // CSV only
  std::int16_t PatSheets = 0;
  std::int16_t BookMax = 0;
  bool LoadLong = false;
  float CutDim = 0;
  std::int16_t CutLevel = 0;
  std::int16_t CutQty = 0;
  std::string_view PartLabel;
  std::int16_t PartRef = 0;
  std::int16_t SeqStep = 0;  // cut-sequence step, 0 until numbered
  // Index 0..book count; entry b is the label text of book b.
  std::span<const std::string_view> BookLabels;
};

enum class FileKind { CpOut, Ptx, Ardis, Csv };

const char* FileKindName(FileKind kind);

}  // namespace orl
