// Shared helpers of the fuzz targets: turning the fuzzer's bytes into the
// program's text, and a check that fails loudly in any build type.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

// A broken invariant is a finding: print it and abort so libFuzzer keeps the
// input. assert() would vanish in a release build.
#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (0)

namespace zol_fuzz {

// One byte, one character: the host's text is single-byte and reaches us
// widened character by character, so every value 0..255 can occur.
inline std::wstring widen(const std::uint8_t* data, std::size_t size) {
    std::wstring text;
    text.reserve(size);
    for (std::size_t i = 0; i < size; ++i) text.push_back(static_cast<wchar_t>(data[i]));
    return text;
}

// The text cut at every `separator`, always `parts` pieces: missing pieces
// are empty and the last piece keeps any further separators.
inline std::vector<std::wstring> split(std::wstring_view text, wchar_t separator, std::size_t parts) {
    std::vector<std::wstring> out;
    while (out.size() + 1 < parts) {
        std::size_t at = text.find(separator);
        if (at == std::wstring_view::npos) break;
        out.emplace_back(text.substr(0, at));
        text.remove_prefix(at + 1);
    }
    out.emplace_back(text);
    out.resize(parts);
    return out;
}

}  // namespace zol_fuzz
