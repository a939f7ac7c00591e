// zolspar.exe: runs the console. There is no other start-up step: no
// command line, settings or registry are read.
#include <windows.h>

#include "console/console_window_win.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) { return zol::run_console(instance, show); }
