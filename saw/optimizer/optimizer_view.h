// The controls the optimizer drives, as plain data: the import frame with
// its drawing and captions, the pattern metrics (cut-sequence step), the
// books frame and the optimizer file the patterns come from.
#pragma once

#include <array>
#include <string>

#include "saw/optimizer/display_list.h"

namespace orl {

struct ScrollBarState {
  int Value = 0;
  int Min = 0;  // holds the step count; the bar runs from Min down to Max
  int Max = 0;
};

struct OptionButton {
  std::string Caption;
  bool Visible = false;
  bool Value = false;  // selected
};

inline constexpr int BookButtonCount = 17;
inline constexpr const char* CutSequenceCaption = "Cut Sequence";

struct OptimizerView {
  // Import frame.
  DisplayList Drawing;
  std::string ImpLab1;  // folder and file name of the optimizer file
  std::string ImpLab2;  // pattern, board and size
  std::string LBLPhases;
  bool ImpFrameVisible = false;

  // Pattern metrics.
  ScrollBarState VScrollPH;
  std::string TextShowPh = "0";
  std::string LBLShowPh = CutSequenceCaption;
  bool BtnLdPatEnabled = false;  // "Show Loaded Pattern"
  bool ShNxtEnabled = false;     // "Show Next"

  // Books frame.
  std::array<OptionButton, BookButtonCount> Bks;
  bool FrameBooksVisible = false;

  // The optimizer file now read, as the job browser showed it when clicked.
  std::string Dir1Folder;
  std::string File2Folder;
  std::string File2FileName;
  int File2ListIndex = -1;
};

}  // namespace orl
