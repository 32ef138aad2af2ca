// Reading an optimizer file into the model, as a click in the optimizer
// file list does.
#pragma once

#include <string>

#include "saw/optimizer/optimizer_model.h"

namespace orl {

// Empties the model, picks the reader by the file name, scans the whole file
// and selects the first pattern of `Pat` (its drawing is the caller's next
// step). `ardisPath` is the Ardis data path of the settings. Returns false,
// with a warning in the model, when the file cannot be opened.
bool ImportOptimizerFile(OptimizerModel& model, const std::string& folder, const std::string& fileName,
                         const std::string& ardisPath);

// The full path of a file of the optimizer file list.
std::string OptimizerFilePath(const std::string& folder, const std::string& fileName);

}  // namespace orl
