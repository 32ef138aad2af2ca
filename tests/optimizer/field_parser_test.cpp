#include "saw/optimizer/field_parser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "saw/optimizer/eval_number.h"
#include "saw/shell/text_number.h"

namespace orl {
namespace {

struct Recorder : ScanHandler {
  std::vector<std::string> events;
  void BeginOfFile(FieldParser&) override { events.push_back("begin"); }
  void Line(FieldParser& p) override { events.push_back(std::string(p.LineText()) + "|" + std::to_string(p.FieldCount())); }
  void EndOfFile(FieldParser&) override { events.push_back("end"); }
};

std::vector<std::string> Scan(const std::string& text) {
  std::istringstream in(text);
  FieldParser parser;
  Recorder recorder;
  parser.ScanStream(in, recorder);
  return recorder.events;
}

TEST(FieldParserScan, StepsRunInOrderAndBothLineEndsAreRead) {
  EXPECT_EQ(Scan("a,b\r\nc\n\nd,e,f"),
            (std::vector<std::string>{"begin", "a,b|2", "c|1", "|0", "d,e,f|3", "end"}));
  EXPECT_EQ(Scan(""), (std::vector<std::string>{"begin", "end"}));
}

TEST(FieldParserScan, ByteOrderMarkIsSkippedAndACrAloneEndsALine) {
  EXPECT_EQ(Scan("\xEF\xBB\xBF" "a,b\rc\r\nd\n\re"),
            (std::vector<std::string>{"begin", "a,b|2", "c|1", "d|1", "|0", "e|1", "end"}));
  // A CR last in the read buffer: the LF that follows belongs to it, any
  // other character starts the next line.
  const std::string filled(65535, 'x');
  EXPECT_EQ(Scan(filled + "\r\ny\r"), (std::vector<std::string>{"begin", filled + "|1", "y|1", "end"}));
  EXPECT_EQ(Scan(filled + "\rz"), (std::vector<std::string>{"begin", filled + "|1", "z|1", "end"}));
}

TEST(FieldParserScan, LineLongerThanTheReadBufferArrivesWhole) {
  const std::string longField(200000, 'x');
  auto events = Scan("1," + longField + "\r\n2\n");
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events[1], "1," + longField + "|2");
  EXPECT_EQ(events[2], "2|1");
}

TEST(FieldParserScan, MissingFileRunsNoStep) {
  FieldParser parser;
  Recorder recorder;
  EXPECT_FALSE(parser.ScanFile("/nonexistent/dir/file.csv", recorder));
  EXPECT_TRUE(recorder.events.empty());
}

TEST(FieldParserFields, EverySeparatorCharacterEndsAField) {
  FieldParser p;
  p.SetSeparators(",/");
  p.SetLineText("1,2/3,,4");
  ASSERT_EQ(p.FieldCount(), 5);
  EXPECT_EQ(p.Field(2), "2");
  EXPECT_EQ(p.Field(4), "");
  EXPECT_EQ(p.Field(5), "4");
  EXPECT_EQ(p.Field(6), "");  // past the last field
  EXPECT_EQ(p.Field(0), "");
  p.SetSeparators("/");  // re-splits the same line
  EXPECT_EQ(p.FieldCount(), 2);
  EXPECT_EQ(p.Field(1), "1,2");
}

TEST(FieldParserFields, WritingAFieldKeepsTheSeparatorsAsTheyStood) {
  FieldParser p;
  p.SetSeparators(",/");
  p.SetLineText("1,2*2/3/");
  p.SetField(2, "2,2,");
  EXPECT_EQ(p.LineText(), "1,2,2,/3/");
  p.SetLineText("a/b");
  p.SetField(4, "d");  // past the end: empty fields joined by the first separator
  EXPECT_EQ(p.LineText(), "a/b,,d");
  p.SetLineText("");
  p.SetField(1, "x");
  EXPECT_EQ(p.LineText(), "x");
}

TEST(FieldParserFields, CommaSplitEightAtATimeMatchesTheCharacterTable) {
  // A lone separator is found eight bytes at a time; a set of two goes byte
  // by byte. With the second one never in the line both must agree, also
  // for bytes whose low seven bits are a comma's and separators at the ends
  // of the eight-byte words.
  const char alphabet[] = {',', 'a', '5', static_cast<char>(0xAC), static_cast<char>(0x80), '\0'};
  std::mt19937 random(11);
  FieldParser words, bytes;
  words.SetSeparators(",");
  bytes.SetSeparators(",;");
  for (int n = 0; n < 2000; ++n) {
    std::string line(random() % 40, ' ');
    for (char& c : line) c = alphabet[random() % sizeof alphabet];
    words.SetLineText(line);
    bytes.SetLineText(line);
    ASSERT_EQ(words.FieldCount(), bytes.FieldCount()) << n;
    for (int i = 1; i <= words.FieldCount(); ++i) ASSERT_EQ(words.Field(i), bytes.Field(i)) << n;
  }
}

TEST(FieldParserFields, SeparatorsAndLineSetTogetherSplitOnce) {
  FieldParser p;
  p.SetLineText("a,b/c");
  p.SetLineText("1/2,3/", "/");
  EXPECT_EQ(p.Separators(), "/");
  ASSERT_EQ(p.FieldCount(), 3);
  EXPECT_EQ(p.Field(2), "2,3");
  EXPECT_EQ(p.Field(3), "");
}

TEST(FieldParserValue, ArithmeticOfDecimalsAndNonExpressionsAsZero) {
  FieldParser p;
  p.SetLineText("48+1/2");
  EXPECT_DOUBLE_EQ(p.Value(), 48.5);
  p.SetLineText("2.5+0.25");
  EXPECT_DOUBLE_EQ(p.Value(), 2.75);
  for (const char* text : {"", "abc", "12ab", "(((", "1/", "PTN3"}) {
    p.SetLineText(text);
    EXPECT_EQ(p.Value(), 0) << text;
  }
  p.SetLineText(std::string(100000, '('));  // hostile: refused, not evaluated
  EXPECT_EQ(p.Value(), 0);
}

// After trimming, a run of blanks between two operands becomes "+", one
// beside an operator only spaces it out.
TEST(EvalNumber, BlanksBecomePlusBetweenOperandsOnly) {
  ExpressionEvaluator evaluator;
  std::string text = "  48 1/2  ";
  EXPECT_FLOAT_EQ(EvalNumber(text, evaluator), 48.5f);
  EXPECT_EQ(text, "48+1/2");  // the caller's text changes
  const std::pair<const char*, float> cases[] = {{"-.5", -0.5f},       {"1219.2", 1219.2f},       {"x", 0},
                                                  {"48 + 1/2", 48.5f},  {"48 - 1/2", 47.5f},       {"\t48\t1/2 ", 48.5f},
                                                  {"( 2 + 1 ) * 3", 9}};
  for (const auto& [input, value] : cases) EXPECT_FLOAT_EQ(EvalNumber(std::string_view(input), evaluator), value) << input;
  EXPECT_TRUE(std::isinf(EvalNumber(std::string_view("1/0"), evaluator)));  // the reader's to refuse
}

TEST(PlainDecimal, ShortWayGivesTheSameDoubleAsAFullConversion) {
  std::mt19937_64 random(7);
  for (int i = 0; i < 200000; ++i) {
    const int whole = static_cast<int>(random() % 100000);
    const int decimals = static_cast<int>(random() % 12);
    std::string text = std::to_string(whole);
    if (decimals > 0) {
      text += '.';
      for (int d = 0; d < decimals; ++d) text += static_cast<char>('0' + random() % 10);
    }
    double fast = 0;
    ASSERT_TRUE(ReadPlainDecimal(text, fast)) << text;
    ASSERT_EQ(fast, std::strtod(text.c_str(), nullptr)) << text;
  }
  double big = 0;
  ASSERT_TRUE(ReadPlainDecimal("123456789012345678901234.5", big));
  EXPECT_EQ(big, std::strtod("123456789012345678901234.5", nullptr));
}

// The short ways never change a value: what one takes reads the same
// through the expression parser and, plain decimals and small whole numbers,
// through Val; what none takes is left to the parser, whose answer stands.
TEST(ShortWays, TakeTheirOwnFormsAndGiveWhatTheParserAndValGive) {
  const std::string longDigits(300, '7');
  const struct {
    std::string text;
    bool plain, fraction, small;
  } cases[] = {
      {".5", true, false, false}, {"-12.", true, false, false}, {"5.", true, false, false},
      {"-.5", true, false, false}, {"0.1", true, false, false}, {"-0", true, false, true},
      {"7", true, false, true}, {"-120", true, false, true}, {"0042", true, false, true},
      {"-9999", true, false, true}, {"12345", true, false, false}, {"32767", true, false, false},
      {"9007199254740993", true, false, false}, {"18446744073709551617", true, false, false},
      {"00000000000000000000000001.5", true, false, false}, {"0000000000000000000005.", true, false, false},
      {"1.00000000000000000000001", true, false, false}, {"0.000000000000000000000000000123", true, false, false},
      {"123456789012345678901234567890", true, false, false}, {longDigits, true, false, false},
      {longDigits + ".5", true, false, false}, {"48+1/2", false, true, false}, {"10-1/8", false, true, false},
      {"3/4", false, true, false}, {"2+3", false, true, false}, {"2-3", false, true, false},
      {"0.1+0.2", false, true, false}, {"96/0", false, true, false}, {"1.5+2.25/3", false, true, false},
      {"1+-2", false, false, false}, {"1/-2", false, false, false}, {"1+2+3", false, false, false},
      {"1*2", false, false, false}, {"+1", false, false, false}, {"1//2", false, false, false},
      {"1e3", false, false, false}, {" 12", false, false, false}, {"12 ", false, false, false},
      {"abc", false, false, false}, {"1,5", false, false, false}, {"", false, false, false},
      {"-", false, false, false}, {".", false, false, false}, {"1.2.3", false, false, false},
      {"--1", false, false, false}, {"3a", false, false, false}};
  ExpressionEvaluator viaParser;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 40));
    const double parsed = viaParser.Evaluate("(" + c.text + ")*1");  // forces the full parser
    double fast = 0;
    ASSERT_EQ(ReadPlainDecimal(c.text, fast), c.plain);
    if (c.plain) {
      EXPECT_EQ(fast, Val(c.text));
      EXPECT_EQ(fast, parsed);
    }
    ASSERT_EQ(ReadSimpleFraction(c.text, fast), c.fraction);
    if (c.fraction) EXPECT_EQ(fast, parsed);
    std::int16_t small = 0;
    ASSERT_EQ(ReadSmallWhole(c.text, small), c.small);
    if (c.small) EXPECT_EQ(small, ToInt16(parsed));
  }
  for (int i = -9'999; i <= 9'999; i += 7) {
    std::int16_t small = 0;
    ASSERT_TRUE(ReadSmallWhole(std::to_string(i), small));
    ASSERT_EQ(small, i);
  }
}

TEST(RepeatText, RepeatsOrGivesNothing) {
  EXPECT_EQ(RepeatText(3, "5,"), "5,5,5,");
  EXPECT_EQ(RepeatText(0, "5,"), "");
  EXPECT_EQ(RepeatText(-2, "5,"), "");
}

TEST(IntegerConversion, HalvesToEvenAndRangeHeld) {
  EXPECT_EQ(ToInt16(2.5), 2);
  EXPECT_EQ(ToInt16(3.5), 4);
  EXPECT_EQ(ToInt16(-2.5), -2);
  bool clamped = false;
  EXPECT_EQ(ToInt16(40000, &clamped), 32767);
  EXPECT_TRUE(clamped);
  EXPECT_EQ(ToInt16(-1e30, &clamped), -32768);
  EXPECT_EQ(ToInt16(std::numeric_limits<double>::quiet_NaN(), &clamped), 0);
  EXPECT_FALSE(clamped);
  EXPECT_EQ(ToInt32(1e12), 2147483647);
}

}  // namespace
}  // namespace orl
