// The fixed text of the Help window. Portable: no Windows headers.
#pragma once

#include <string>

namespace zol {

// 84 lines, each ended by CR LF, lower case throughout. Built once, on first
// use; the reference stays valid for the life of the program.
const std::wstring& help_text();

}  // namespace zol
