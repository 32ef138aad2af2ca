#include "saw/plc/dig_io.h"

#include <string>

#include "saw/shell/orl_settings.h"

namespace orl {
namespace {

void Paint(CellGrid& digIO, int row, int column, bool on, Rgb offColor) {
  const Rgb wanted = on ? kPointOnColor : offColor;
  CellFormat& format = digIO.Format(row, column);
  if (format.backColor != wanted) format.backColor = wanted;
}

bool Bit(std::int32_t image, int bit) { return (image >> bit & 1) != 0; }

// The bit of the relay image shown at (row, column): 700.. down the first
// relay column, 710.. down the second.
int RelayBitOfPoint(int row, int column) { return (column - kRelays70xColumn) * 8 + row - 1; }

// Settings key of a cell: NameX0.., NameY0.., NameCR700.., NameCR710..
std::string CaptionKey(int row, int column) {
  const int point = row - 1;
  switch (column) {
    case kInputsColumn: return "NameX" + std::to_string(point);
    case kOutputsColumn: return "NameY" + std::to_string(point);
    case kRelays70xColumn: return "NameCR70" + std::to_string(point);
    default: return "NameCR71" + std::to_string(point);
  }
}

}  // namespace

CellGrid MakeDigIOGrid() {
  CellGrid grid(kDigIORows, kDigIOColumns);
  grid.SetText(0, kInputsColumn, kInputsHeader);
  grid.SetText(0, kOutputsColumn, kOutputsHeader);
  grid.SetText(0, kRelays70xColumn, kRelays70xHeader);
  grid.SetText(0, kRelays71xColumn, kRelays71xHeader);
  for (int row = 1; row <= kDigIORows; ++row) {
    grid.Format(row, kInputsColumn).backColor = kInputOffColor;
    grid.Format(row, kOutputsColumn).backColor = kOutputOffColor;
    grid.Format(row, kRelays70xColumn).backColor = kRelayOffColor;
    grid.Format(row, kRelays71xColumn).backColor = kRelayOffColor;
    for (int column = 1; column <= kDigIOColumns; ++column) grid.Format(row, column).locked = true;
  }
  return grid;
}

void DigIOSetup(CellGrid& digIO, const ProfileFile& settings) {
  for (int column = 1; column <= kDigIOColumns; ++column)
    for (int row = 1; row <= kDigIORows; ++row)
      digIO.SetText(row, column, settings.ReadSetting(section::kPlcData, CaptionKey(row, column)));
}

void ShowInputs(CellGrid& digIO, std::int32_t inputImage) {
  for (int row = 1; row <= kDigIORows; ++row) Paint(digIO, row, kInputsColumn, Bit(inputImage, row - 1), kInputOffColor);
}

void ShowOutputs(CellGrid& digIO, std::int32_t outputImage) {
  for (int row = 1; row <= kShownOutputs; ++row)
    Paint(digIO, row, kOutputsColumn, Bit(outputImage, row - 1), kOutputOffColor);
}

void ShowRelays(CellGrid& digIO, std::int32_t relayImage) {
  for (int column = kRelays70xColumn; column <= kRelays71xColumn; ++column)
    for (int row = 1; row <= kDigIORows; ++row)
      Paint(digIO, row, column, Bit(relayImage, RelayBitOfPoint(row, column)), kRelayOffColor);
}

std::optional<SwitchRequest> SwitchRequestFor(const CellGrid& digIO, int row, int column,
                                              std::int32_t outputImage, std::int32_t relayImage) {
  if (row < 1 || row > kDigIORows) return std::nullopt;
  const bool shownOn = digIO.Format(row, column).backColor == kPointOnColor;
  auto flipped = [shownOn](std::int32_t image, int bit) { return shownOn ? image & ~(1 << bit) : image | (1 << bit); };
  if (column == kOutputsColumn) return SwitchRequest{true, flipped(outputImage, row - 1)};
  if (column == kRelays70xColumn || column == kRelays71xColumn)
    return SwitchRequest{false, flipped(relayImage, RelayBitOfPoint(row, column))};
  return std::nullopt;
}

}  // namespace orl
