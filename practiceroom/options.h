// The practice room's command line. Portable: the Win32 side splits the
// command line with CommandLineToArgvW and hands the words over.
//
//   --name NAME            the user's screen name (default "proctor")
//   --rooms N              rooms open at start, 0 to 20 (default 1)
//   --script FILE          timed script of other people's lines
//   --transcript FILE      appends every room line as it appears
//   --seed N               dice seed, 0 to 4294967295 (default: the clock)
//   --hang-after SECONDS   the window thread stops answering after that time
//   --windows ansi|unicode the kind of window the room presents (default ansi)
//   --length-off N         the history window reports its length N more (or,
//                          with N negative, fewer) than it is, down to 0, as a
//                          host that miscounts does
//   --quit-after SECONDS   the program closes itself after that time
//   --help                 prints the usage
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zol::practiceroom {

inline constexpr int kMaxRooms = 20;
inline constexpr std::uint32_t kMaxLengthOff = 1000000;

// ANSI windows, as the host client's are: classes registered with the
// single-byte functions and the room's text kept as bytes in the system code
// page, so the text is converted where it is converted with the real host,
// in the reader. Unicode windows keep UTF-16 and let the system convert.
enum class WindowKind { Ansi, Unicode };

struct Options {
    std::wstring name = L"proctor";
    int rooms = 1;
    std::wstring script_path;      // empty: no script
    std::wstring transcript_path;  // empty: no transcript
    std::optional<std::uint32_t> seed;
    std::optional<std::int64_t> hang_after_ms;
    std::optional<std::int64_t> quit_after_ms;
    WindowKind windows = WindowKind::Ansi;
    int length_off = 0;
    bool help = false;
};

struct ParsedOptions {
    Options options;
    std::wstring error;  // empty when the words were all understood
};

// `args` are the words after the program name. A later repeat of an option
// wins. The error names the offending word.
ParsedOptions parse_options(const std::vector<std::wstring>& args);

// What the program is, every option and the script format with an example:
// --help prints it and the room's help menu shows it.
std::wstring usage_text();

// A screen name goes into lines of the form "<name>:  <message>", one per
// CR, so it may hold neither a colon nor a line break, and is not empty.
bool is_usable_name(std::wstring_view name);

}  // namespace zol::practiceroom
