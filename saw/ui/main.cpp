// orl: the saw controller's desktop program.
#include "saw/ui/orl_app.h"

int main(int argc, char** argv) { return orl::RunOrl(argc, argv); }
