// Shared body of the optimizer reader fuzz targets: the bytes are read as a
// file of the given kind, then every listed pattern (up to a few) is drawn,
// sequenced and written as SVG, as browsing the file would.
#pragma once

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "saw/optimizer/ardis_reader.h"
#include "saw/optimizer/cpout_reader.h"
#include "saw/optimizer/csv_cut_reader.h"
#include "saw/optimizer/cut_sequence.h"
#include "saw/optimizer/pattern_browser.h"
#include "saw/optimizer/ptx_reader.h"
#include "saw/optimizer/svg_writer.h"

namespace orl::fuzz {

template <typename Reader, typename... Args>
void ImportBytes(FileKind kind, const std::uint8_t* data, std::size_t size, Args&&... args) {
  OptimizerModel model;
  model.ResetForImport(kind);
  Reader reader(model, std::forward<Args>(args)...);
  FieldParser parser;
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  parser.ScanStream(in, reader);
  OptimizerView view;
  constexpr std::size_t browsedPatterns = 4;
  for (std::size_t i = 0; i < model.Pat.Items.size() && i < browsedPatterns; ++i) {
    PatClicked(model, view, static_cast<int>(i));
    SetStepBar(model, view, view.VScrollPH.Min);
    (void)DisplayListToSvg(view.Drawing);
  }
}

}  // namespace orl::fuzz
