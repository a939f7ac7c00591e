// Gives a control the name screen readers announce for it. Our labels stand
// apart from the boxes they name in the child order, so the usual guess (the
// label just before the box) would name them wrongly, and an edit box would
// otherwise be named by its own text.
#pragma once

#include <windows.h>

#include <string>

namespace zol::ui {

// From now on the control's accessible object (MSAA, OBJID_CLIENT) answers
// `name` for its name; everything else it answers as the system would. A
// name given again replaces the one before.
void set_accessible_name(HWND control, std::wstring name);

}  // namespace zol::ui
