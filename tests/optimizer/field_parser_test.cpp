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

TEST(EvalNumber, BlanksBecomePlusAfterTrimming) {
  ExpressionEvaluator evaluator;
  std::string text = "  48 1/2  ";
  EXPECT_FLOAT_EQ(EvalNumber(text, evaluator), 48.5f);
  EXPECT_EQ(text, "48+1/2");  // the caller's text changes
  EXPECT_FLOAT_EQ(EvalNumber(std::string_view("-.5"), evaluator), -0.5f);
  EXPECT_FLOAT_EQ(EvalNumber(std::string_view("1219.2"), evaluator), 1219.2f);
  EXPECT_EQ(EvalNumber(std::string_view("x"), evaluator), 0.0f);
}

TEST(EvalNumber, BlanksBesideAnOperatorOnlySpaceItOut) {
  ExpressionEvaluator evaluator;
  EXPECT_FLOAT_EQ(EvalNumber(std::string_view("48 + 1/2"), evaluator), 48.5f);
  EXPECT_FLOAT_EQ(EvalNumber(std::string_view("48 - 1/2"), evaluator), 47.5f);
  EXPECT_FLOAT_EQ(EvalNumber(std::string_view("\t48\t1/2 "), evaluator), 48.5f);
  EXPECT_FLOAT_EQ(EvalNumber(std::string_view("( 2 + 1 ) * 3"), evaluator), 9.0f);
  EXPECT_TRUE(std::isinf(EvalNumber(std::string_view("1/0"), evaluator)));  // the reader's to refuse
}

TEST(PlainDecimal, OnlyPlainNumbersTakeTheShortWay) {
  double v = 0;
  EXPECT_TRUE(ReadPlainDecimal(".5", v));
  EXPECT_DOUBLE_EQ(v, 0.5);
  EXPECT_TRUE(ReadPlainDecimal("-12.", v));
  EXPECT_DOUBLE_EQ(v, -12);
  for (const char* text : {"", "-", ".", "1e3", "1.2.3", " 1", "1+1", "--1"}) EXPECT_FALSE(ReadPlainDecimal(text, v)) << text;
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

TEST(PlainDecimal, ShortWaysGiveWhatTheParserAndValGive) {
  // The short ways must never change a value: what they take must read the
  // same through the expression parser and, for plain decimals, through Val.
  ExpressionEvaluator viaParser;
  const std::string longDigits(300, '7');
  const std::vector<std::string> texts = {
      "48+1/2", "-5", "1e3", " 12 ", "abc", "1,5", "", "007", "-0", "5.", "-.5", "0.1", "9007199254740993",
      "18446744073709551617", "00000000000000000000000001.5", "0000000000000000000005.", "1.00000000000000000000001",
      "0.000000000000000000000000000123", "123456789012345678901234567890", longDigits, longDigits + ".5"};
  for (const std::string& text : texts) {
    double fast = 0;
    const bool plain = ReadPlainDecimal(text, fast);
    if (plain) {
      EXPECT_EQ(fast, Val(text)) << text;
    }
    if (plain || ReadSimpleFraction(text, fast)) {
      EXPECT_EQ(fast, viaParser.Evaluate("(" + text + ")*1")) << text;
    }
  }
  double v = 0;
  for (const char* text : {"1e3", " 12 ", "abc", "1,5", ""}) {
    EXPECT_FALSE(ReadPlainDecimal(text, v)) << text;  // left to the parser, whose answer stands
    EXPECT_FALSE(ReadSimpleFraction(text, v)) << text;
  }
}

TEST(SmallWhole, GivesWhatTheParserAndValGiveAndLeavesTheRestToThem) {
  ExpressionEvaluator viaParser;
  std::vector<std::string> texts = {"0", "-0", "7", "-120", "0042", "9999", "-9999", "32767"};
  for (int i = -10'500; i <= 10'500; i += 7) texts.push_back(std::to_string(i));
  for (const std::string& text : texts) {
    std::int16_t fast = 0;
    if (!ReadSmallWhole(text, fast)) continue;
    EXPECT_EQ(fast, ToInt16(Val(text))) << text;
    EXPECT_EQ(fast, ToInt16(viaParser.Evaluate("(" + text + ")*1"))) << text;
  }
  std::int16_t v = 0;
  for (const char* text : {"", "-", "12345", "99999", "1.5", "1e3", " 12", "12 ", "+5", "--1", "1/2", "3a"})
    EXPECT_FALSE(ReadSmallWhole(text, v)) << text;  // five digits may leave the 16-bit range
}

TEST(SimpleFraction, AgreesWithTheExpressionParser) {
  FieldParser viaParser;
  for (const char* text : {"48+1/2", "10-1/8", "3/4", "2+3", "2-3", "0.1+0.2", "96/0", "1.5+2.25/3"}) {
    double fast = 0;
    ASSERT_TRUE(ReadSimpleFraction(text, fast)) << text;
    viaParser.SetLineText(std::string("(") + text + ")*1");  // forces the full parser
    EXPECT_EQ(fast, viaParser.Value()) << text;
  }
  double v = 0;
  for (const char* text : {"1+-2", "1/-2", "1+2+3", "1*2", "+1", "1//2"}) EXPECT_FALSE(ReadSimpleFraction(text, v)) << text;
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
