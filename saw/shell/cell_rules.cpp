#include "saw/shell/cell_rules.h"

#include <charconv>

namespace orl {
namespace {

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A whole number text: optional sign, digits, at most one decimal point
// and at most `decimals` digits after it. Nothing else.
std::optional<double> WholeNumber(std::string_view text, int decimals) {
  const std::size_t point = text.find('.');
  const std::size_t fraction = point == std::string_view::npos ? 0 : text.size() - point - 1;
  if (static_cast<int>(fraction) > decimals) return std::nullopt;
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<std::string> AcceptedNumber(const CellFormat& format, std::string_view typed) {
  std::string text(Trimmed(typed));
  if (text.empty()) return text;
  if (format.type == CellType::Number) {
    for (char& c : text)
      if (c == ',') c = '.';
  }
  const int decimals = format.type == CellType::Number ? format.decimals : 0;
  const auto value = WholeNumber(text, decimals);
  if (!value || *value < format.min || *value > format.max) return std::nullopt;
  return text;
}

std::string CutToLength(std::string_view text, int maxLength) {
  if (maxLength <= 0 || text.size() <= static_cast<std::size_t>(maxLength)) return std::string(text);
  std::size_t end = static_cast<std::size_t>(maxLength);
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;  // whole characters only
  return std::string(text.substr(0, end));
}

}  // namespace

std::optional<std::string> AcceptedCellText(const CellGrid& grid, int row, int column, std::string_view typed) {
  if (row < 1 || column < 1 || !grid.Contains(row, column)) return std::nullopt;
  const CellFormat& format = grid.Format(row, column);
  if (format.locked || format.type == CellType::Button) return std::nullopt;
  if (format.type == CellType::Number || format.type == CellType::Integer) return AcceptedNumber(format, typed);
  return CutToLength(typed, format.maxLength);
}

bool EditCell(CellGrid& grid, int row, int column, std::string_view typed) {
  const auto text = AcceptedCellText(grid, row, column, typed);
  if (!text) return false;
  grid.SetText(row, column, *text);
  return true;
}

std::string ShownCellText(const CellGrid& grid, int row, int column) {
  const std::string& text = grid.Text(row, column);
  const CellFormat& format = grid.Format(row, column);
  if (format.type != CellType::Number || text.empty()) return text;
  const auto value = WholeNumber(Trimmed(text), 15);
  if (!value) return text;
  char shown[400];  // room for any double in fixed notation
  const auto written = std::to_chars(shown, shown + sizeof shown, *value, std::chars_format::fixed, format.decimals);
  return std::string(shown, written.ptr);  // never the locale's decimal comma
}

}  // namespace orl
