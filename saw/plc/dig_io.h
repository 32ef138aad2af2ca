#pragma once
// The I/O diagnostics grid `DigIO`: 8 rows by 4 columns showing inputs
// X0..X7, outputs Y0..Y7 and relays 700..707 and 710..717; a cell's text is
// the point's name from the settings, its background the state last read.
#include <cstdint>
#include <optional>

#include "saw/shell/cell_grid.h"
#include "saw/shell/profile_file.h"

namespace orl {

inline constexpr int kDigIORows = 8;
inline constexpr int kDigIOColumns = 4;
enum DigIOColumn { kInputsColumn = 1, kOutputsColumn = 2, kRelays70xColumn = 3, kRelays71xColumn = 4 };
inline constexpr int kShownOutputs = 6;  // Y0..Y5; rows 7 and 8 are never recoloured

inline constexpr const char* kInputsHeader = "Inputs  (X)";
inline constexpr const char* kOutputsHeader = "Outputs  (Y)";
inline constexpr const char* kRelays70xHeader = "CR 70x";
inline constexpr const char* kRelays71xHeader = "CR 71x";

inline constexpr Rgb kPointOnColor = 0xFF00FF;
inline constexpr Rgb kInputOffColor = 0x004080;
inline constexpr Rgb kOutputOffColor = 0x008080;
inline constexpr Rgb kRelayOffColor = 0x008040;

CellGrid MakeDigIOGrid();

// Captions of the 32 cells from the PLCData section (NameX0.., NameY0..,
// NameCR700.., NameCR710..); a missing key leaves the cell empty.
void DigIOSetup(CellGrid& digIO, const ProfileFile& settings);

// Colours column 1 rows 1..8 from the input image, column 2 rows 1..6 from
// the output image, columns 3 and 4 from the relay image. A cell's colour
// is changed only when it differs from the wanted one.
void ShowInputs(CellGrid& digIO, std::int32_t inputImage);
void ShowOutputs(CellGrid& digIO, std::int32_t outputImage);
void ShowRelays(CellGrid& digIO, std::int32_t relayImage);

struct SwitchRequest {
  bool output;         // true: OutputWrite, false: RelayWrite
  std::int32_t value;  // the word to write
};

// A click on (row, column): an output or relay cell asks for the image as
// last read with that point's bit flipped against what the cell shows;
// inputs and anything else ask for nothing.
std::optional<SwitchRequest> SwitchRequestFor(const CellGrid& digIO, int row, int column,
                                              std::int32_t outputImage, std::int32_t relayImage);

}  // namespace orl
