#include "saw/optimizer/pattern_preview.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "saw/optimizer/optimizer_import.h"
#include "saw/shell/number_text.h"
#include "saw/shell/text_number.h"

namespace orl {

namespace {

constexpr const char* SizeJoiner = "  X ";
constexpr const char* LabelSizeJoiner = " X ";
constexpr const char* LabelJoiner = " * ";
constexpr const char* PartJoiner = " * ";
constexpr const char* SheetWord = " Sheet";
constexpr const char* SheetTail = " in this pattern.    Max number of sheets in a book is ";
constexpr float SmallTextSize = 2;
constexpr float LargeTextSize = 8.35f;
constexpr int SmallTextMargin = 9;  // margins up to this get the small text

using LevelTable = std::array<float, MaxDrawnLevel + 1>;

float Rounded(float value) { return static_cast<float>(RoundHalfEven(value)); }

void Fill(LevelTable& table, int from, float value) { std::fill(table.begin() + from, table.end(), value); }

// The working values and level tables of one drawing.
struct Drawing {
  OptimizerView& view;
  LevelTable alongLength{};
  LevelTable alongWidth{};
  LevelTable span{};
  PenColor pen = PenBlack;
  bool penSet = false;

  void SetPen(PenColor color) {
    if (penSet && color == pen) return;  // an unchanged pen draws the same
    view.Drawing.Add(draw::Pen{color});
    pen = color;
    penSet = true;
  }
};

void DrawBoard(Drawing& d, OptimizerModel& model, std::int32_t first) {
  const PatCut cut = model.PatCuts[first];
  const float L = cut.BoardLen, W = cut.BoardWid;
  const float larger = std::max(L, W);
  const int m = RoundHalfEven(larger / 25);
  const float S = static_cast<float>(RoundHalfEven(larger)) + 2.0f * m;

  model.CurPatFirst = first;
  d.view.Drawing.Clear();
  model.Parts.Clear();
  if (W > L)
    d.view.Drawing.Add(draw::Window{-m - (W - L) / 2, static_cast<float>(-m), S, S});
  else
    d.view.Drawing.Add(draw::Window{static_cast<float>(-m), -m - (L - W) / 2, S, S});
  d.SetPen(PenBlack);
  d.view.Drawing.Add(draw::Rectangle{0, 0, Rounded(L), Rounded(W)});
  d.view.Drawing.Add(draw::Line{cut.TrimLong, 0, cut.TrimLong, W});
  d.view.Drawing.Add(draw::Line{0, cut.TrimShort, L, cut.TrimShort});
  d.view.Drawing.Add(draw::Line{L - cut.EndTrimLen, 0, L - cut.EndTrimLen, W});
  d.view.Drawing.Add(draw::Line{0, W - cut.EndTrimWid, L, W - cut.EndTrimWid});

  d.view.Drawing.Add(draw::TextSize{m <= SmallTextMargin ? SmallTextSize : LargeTextSize});
  d.view.Drawing.Add(draw::Text{S / 2 - 4.0f * m, -7.0f * m, SignedNumberText(L) + SizeJoiner + SignedNumberText(W)});
  if (cut.PatSheets > 0 && cut.BookMax > 0) {
    std::string text = SignedNumberText(cut.PatSheets) + SheetWord + (cut.PatSheets > 1 ? "s" : "") + SheetTail +
                       SignedNumberText(cut.BookMax);
    d.view.Drawing.Add(draw::Text{static_cast<float>(m), S - 9.5f * m, std::move(text)});
  }

  Fill(d.alongLength, 0, cut.TrimLong);
  Fill(d.alongWidth, 0, cut.TrimShort);
  d.span[0] = cut.LoadLong ? W - cut.TrimShort : L - cut.TrimLong;

  d.view.ImpLab1 = OptimizerFilePath(d.view.File2Folder, d.view.File2FileName);
  d.view.ImpLab2 = std::to_string(cut.PatNo) + LabelJoiner + std::string(cut.BoardDesc) + LabelJoiner + PlainNumberText(L) +
                   LabelSizeJoiner + PlainNumberText(W);
  model.ShownPatternKey = std::to_string(cut.PatNo) + "," + d.view.Dir1Folder + "," + d.view.File2FileName + "," +
                          std::to_string(d.view.File2ListIndex);
}

void DrawCut(Drawing& d, const PatCut& cut, int highlightedStep) {
  const int v = cut.CutLevel;
  Fill(d.alongLength, v, d.alongLength[v]);
  Fill(d.alongWidth, v, d.alongWidth[v]);
  d.span[v] = cut.CutQty * cut.CutDim;
  const bool highlighted = cut.SeqStep > 0 && cut.SeqStep == highlightedStep;
  const PenColor color = highlighted ? PenWhite : LevelColor(v);
  for (int i = 0; i < cut.CutQty && !d.view.Drawing.Full(); ++i) {
    d.SetPen(color);
    if (v == 0) continue;  // a level-0 record only sets its colour
    const float from = d.span[v - 1];  // the strip this level cuts across
    if (cut.LoadLong) {
      d.alongLength[v] += cut.CutDim;
      const float x = Rounded(d.alongLength[v]);
      d.view.Drawing.Add(draw::Line{x, Rounded(d.alongWidth[v]), x, Rounded(d.alongWidth[v] + from)});
    } else {
      d.alongWidth[v] += cut.CutDim;
      const float y = Rounded(d.alongWidth[v]);
      d.view.Drawing.Add(draw::Line{Rounded(d.alongLength[v]), y, Rounded(d.alongLength[v] + from), y});
    }
  }
}

}  // namespace

PenColor LevelColor(int level) {
  switch (level) {
    case 1: return PenGreen;
    case 2: return PenMagenta;
    case 3: return PenBlue;
    default: return PenBlack;
  }
}

std::int16_t SelectedPatternNumber(const OptimizerModel& model) {
  const int index = model.Pat.ListIndex;
  if (index < 0 || static_cast<std::size_t>(index) >= model.Pat.Items.size()) return 0;
  return PatternNumberOf(model.Pat.Items[index]);
}

void ShowGraphic(OptimizerModel& model, OptimizerView& view) {
  if (model.CutCount() == 0) return;
  const std::int16_t pattern = SelectedPatternNumber(model);
  const int highlightedStep = RoundHalfEven(Val(view.TextShowPh));
  Drawing d{view};
  bool found = false;
  int highestLevel = 0;
  for (std::size_t i = 1; i < model.PatCuts.size(); ++i) {
    if (const std::int16_t patNo = model.PatCuts.PatNo(i); patNo != pattern) {
      if (patNo > pattern) break;
      continue;
    }
    const PatCut cut = model.PatCuts[i];
    if (!found) DrawBoard(d, model, static_cast<std::int32_t>(i));
    found = true;
    // Levels outside the level tables are neither drawn nor counted.
    if (cut.CutLevel >= 0 && cut.CutLevel <= MaxDrawnLevel) {
      DrawCut(d, cut, highlightedStep);
      highestLevel = std::max<int>(highestLevel, cut.CutLevel);
    }
    if (!cut.PartLabel.empty()) model.Parts.Items.push_back(SignedNumberText(cut.CutQty) + PartJoiner + std::string(cut.PartLabel));
  }
  view.ImpFrameVisible = true;
  view.LBLPhases = PhasesCaption + std::to_string(highestLevel);
}

}  // namespace orl
