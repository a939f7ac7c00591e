// The dice counter's handler over any chat line. The input is the line as
// the room shows it: speaker, ":", message.
#include <string>

#include "console/dice_counter.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring input = zol_fuzz::widen(data, size);
    const auto parts = zol_fuzz::split(input, L':', 2);
    const std::wstring& who = parts[0];
    const std::wstring& what = parts[1];

    const auto quiet = zol::count_chat_line(who, what, false);
    const auto saying = zol::count_chat_line(who, what, true);

    const auto tally = zol::read_dice_result(who, what);
    if (!tally) {
        FUZZ_CHECK(!quiet && !saying);
        return 0;
    }
    FUZZ_CHECK(who == L"OnlineHost" && what.find(L"sided di") != std::wstring::npos);
    FUZZ_CHECK(what.compare(0, tally->roller.size(), tally->roller) == 0);
    FUZZ_CHECK(tally->total >= 0 && tally->total <= 15 * zol::hyt_poynts(32767));

    FUZZ_CHECK(quiet && saying);
    FUZZ_CHECK(quiet->caption == zol::hit_points_caption(*tally) && !quiet->announcement);
    FUZZ_CHECK(saying->caption == quiet->caption && saying->announcement == zol::hit_points_announcement(*tally));
    return 0;
}
