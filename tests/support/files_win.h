// Files shared with other programs: scripts and transcripts of the practice
// room, hand-off files of the bench script, /proc under Wine.
#pragma once

#include <optional>
#include <string>

namespace zol::test {

// The whole file, read while its writer may still be writing it; nothing
// when it cannot be opened.
std::optional<std::string> read_file(const std::wstring& path);

// Writes the bytes (replacing the file); false when they could not be
// written whole.
bool write_file(const std::wstring& path, const std::string& bytes);
bool write_utf8_file(const std::wstring& path, const std::wstring& text);

bool file_exists(const std::wstring& path);

}  // namespace zol::test
