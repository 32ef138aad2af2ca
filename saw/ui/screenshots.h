#pragma once
// `orl --screenshots DIR`: the program starts as usual, shows the bundled
// examples (a program in the cut list, an optimizer file read and a pattern
// selected, the simulated PLC a few ticks into its cycle), writes one image
// of the about box, of each tab and of the directory chooser, and ends.
#include <QString>
#include <functional>

#include "saw/shell/ui.h"

namespace orl {

class MainWindow;

inline constexpr const char* kScreenshotNames[] = {"program-control.png", "import.png", "parameters.png",
                                                   "diagnostics.png"};
inline constexpr const char* kAboutScreenshot = "about.png";
// The History tab, once the simulated saw has cut a few pieces.
inline constexpr const char* kHistoryScreenshot = "history.png";
inline constexpr int kHistoryScreenshotRows = 8;
inline constexpr int kHistoryScreenshotPolls = 60;
inline constexpr const char* kDirectoryChooserScreenshot = "directory-chooser.png";
// Scan ticks run before the images are taken: the PLC has been read and
// the first target handed over, and the cut list is not yet locked.
inline constexpr int kScreenshotTicks = 3;

// Loads the examples into the window, waits for the ticks, writes the
// images into folder and calls done with whether every image was written.
void TakeScreenshots(MainWindow& window, Ui& ui, const QString& folder, std::function<void(bool)> done);

}  // namespace orl
