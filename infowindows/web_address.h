// The program's web address, as the advertisement it posts and the Help and
// About windows show it. Portable: no Windows headers.
#pragma once

#include <string_view>

namespace zol {

inline constexpr std::wstring_view kWebAddress = L"http://zolspar.example.org";
inline constexpr std::wstring_view kWebDomain = L"zolspar.example.org";

}  // namespace zol
