// The dice counter's handler over any chat line. The input is the line as
// the room shows it: speaker, ":", message.
#include <string>
#include <vector>

#include "console/dice_counter.h"
#include "fuzz_input.h"

namespace {

// Records what the handler asks of the console, in order.
class RecordingConsole : public zol::DiceCounterSink {
public:
    explicit RecordingConsole(bool say) : say_(say) {}
    void show_hit_points(const std::wstring& caption) override { calls.push_back(L"show:" + caption); }
    bool say_score() const override { return say_; }
    void send_chat_line(const std::wstring& line) override { calls.push_back(L"send:" + line); }
    void pause_one_second() override { calls.push_back(L"pause"); }

    std::vector<std::wstring> calls;

private:
    bool say_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring input = zol_fuzz::widen(data, size);
    const auto parts = zol_fuzz::split(input, L':', 2);
    const std::wstring& who = parts[0];
    const std::wstring& what = parts[1];

    RecordingConsole quiet(false), saying(true);
    zol::count_chat_line(who, what, quiet);
    zol::count_chat_line(who, what, saying);

    const auto tally = zol::read_dice_result(who, what);
    if (!tally) {
        FUZZ_CHECK(quiet.calls.empty() && saying.calls.empty());
        return 0;
    }
    FUZZ_CHECK(who == L"OnlineHost" && what.find(L"sided di") != std::wstring::npos);
    FUZZ_CHECK(what.compare(0, tally->roller.size(), tally->roller) == 0);
    FUZZ_CHECK(tally->total >= 0 && tally->total <= 15 * zol::hyt_poynts(32767));

    const std::wstring show = L"show:" + zol::hit_points_caption(*tally);
    const std::vector<std::wstring> expect_quiet = {show, L"pause"};
    const std::vector<std::wstring> expect_saying = {show, L"send:" + zol::hit_points_announcement(*tally), L"pause"};
    FUZZ_CHECK(quiet.calls == expect_quiet);
    FUZZ_CHECK(saying.calls == expect_saying);
    return 0;
}
