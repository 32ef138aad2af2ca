#pragma once
// The desktop program from its command line to its end: single instance,
// the about box, the settings, the PLC port, the window and its timers, the
// signals that end it, and the screenshots.
namespace orl {

int RunOrl(int argc, char** argv);

}  // namespace orl
