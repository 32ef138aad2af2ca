// The JSON texts orl-tool writes without making a JSON value must be the
// library's own for the same values, to the byte.
#include "saw/tools/json_stream.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "saw/shell/number_text.h"

namespace orl {
namespace {

// What the tool wrote before: the number as the program shows it, read
// back and handed to the library.
std::string LibraryShown(float value) {
  return json_text::Dump(nlohmann::ordered_json(std::stod(PlainNumberText(value))));
}

std::string Shown(float value) {
  std::string text;
  json_text::AppendShownNumber(text, value);
  return text;
}

TEST(JsonText, ShownNumbersAreTheLibrarysText) {
  for (float value : {0.f, -0.f, 1219.2f, 48.5f, 12345678.f, 9999999.5f, 1e-5f, 1e-4f, 1e15f, 1e16f, 3.4e38f, 1e-45f,
                      4.750861f, -2.5f, std::numeric_limits<float>::quiet_NaN()})
    EXPECT_EQ(Shown(value), LibraryShown(value)) << value;
  EXPECT_EQ(Shown(std::numeric_limits<float>::infinity()), "null");
  // Dimensions to two decimals, and any bit pattern: the library's longer
  // forms (4.7508609999999996) must come out as it writes them.
  for (int hundredths = -20000; hundredths <= 300000; hundredths += 7)
    ASSERT_EQ(Shown(hundredths / 100.0f), LibraryShown(hundredths / 100.0f)) << hundredths;
  std::mt19937 random(17);
  for (int i = 0; i < 200000; ++i) {
    const float value = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
    if (!std::isfinite(value)) continue;
    ASSERT_EQ(Shown(value), LibraryShown(value)) << value;
  }
}

TEST(JsonText, StringsAreEscapedAsTheLibraryEscapesThem) {
  auto same = [](const std::string& text) {
    std::string appended;
    json_text::AppendString(appended, text);
    EXPECT_EQ(appended, json_text::Dump(nlohmann::ordered_json(text))) << text;
  };
  for (int c = 0; c < 256; ++c) same("a" + std::string(1, static_cast<char>(c)) + "\"\\");
  for (const char* text : {"", "Eiche f\xC3\xBCr T\xC3\xBCren", "f\xFCr", "\xC3", "tab\there\x7F"}) same(text);
}

}  // namespace
}  // namespace orl
