// The chat scanner's decisions, free of any timer: given the room text of
// one tick, which chat line (if any) is new. The Win32 control owns the
// timer and calls scan_tick on each WM_TIMER.
#pragma once

#include <optional>
#include <string>

namespace zol {

struct ChatLine {
    std::wstring who_said;
    std::wstring what_said;
};

// What the scanner remembers between ticks.
struct ScannerMemory {
    std::wstring oldwhosaid;     // speaker of the last line raised
    std::wstring oldwhatsaid;    // message of the last line raised
    std::wstring scanstarttext;  // the room text when scanning was switched on
};

// One tick over the room text `tail` (as ReadChatText gives it). Returns the
// line to raise, after storing it as the remembered pair: a handler that lets
// further ticks run inside it will not see the same line raised again.
std::optional<ChatLine> scan_tick(const std::wstring& tail, ScannerMemory& memory);

}  // namespace zol
