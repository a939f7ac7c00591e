// Moving a window of ours into or out of the topmost band of the desktop.
// Both leave position and size alone; a failed SetWindowPos goes unnoticed.
#pragma once

#include <windows.h>

namespace zol {

void StayOnTop(HWND window);
void NotOnTop(HWND window);

}  // namespace zol
