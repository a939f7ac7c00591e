// The one digit test of our text rules: only the ASCII digits "0" to "9"
// count. iswdigit would take other scripts' digits too (the Arabic-Indic
// "٣"), which no dice line, box or script of ours means. Portable: no
// Windows headers.
#pragma once

namespace zol {

constexpr bool is_ascii_digit(wchar_t ch) { return ch >= L'0' && ch <= L'9'; }

}  // namespace zol
