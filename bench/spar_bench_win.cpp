// The benchmarks that need the real console beside the practice room: the
// CPU share while the console scrolls or idles with the counter on (the
// share itself is measured by the bench script from Linux, see the "cpu"
// mode), and the latency from a dice result in the room to the hit-point
// label.
#include "bench/benchmarks_win.h"

#include <random>
#include <thread>
#include <vector>

#include "bench/stats.h"
#include "console/console_layout.h"

namespace zol::bench {
namespace {

constexpr wchar_t kScreenName[] = L"bench";

// The practice room and the console, started as a user starts them, with
// the counter switched on.
class Spar {
public:
    bool start(const std::wstring& bin) {
        if (!launch(room_, bin + L"\\practice-room.exe", std::wstring(L"--seed 4242 --name ") + kScreenName)) return false;
        frame_ = wait_for_window(L"AOL Frame25", nullptr, room_.id(), 20s);
        if (!frame_) return fail(L"the practice room showed no window");
        // The frame shows before its room is made.
        const bool has_room = wait_until(
            [&] {
                HWND mdi = FindWindowExW(frame_, nullptr, L"MDIClient", nullptr);
                HWND room = mdi ? FindWindowExW(mdi, nullptr, L"AOL Child", nullptr) : nullptr;
                room_text_ = room ? FindWindowExW(room, nullptr, L"RICHCNTLREADONLY", nullptr) : nullptr;
                return room_text_ && !room_text().empty();
            },
            10s);
        if (!has_room) {
            return fail(L"the practice room has no room text");
        }
        if (!launch(console_, bin + L"\\zolspar.exe")) return false;
        console_window_ = wait_for_window(L"zolspar", nullptr, console_.id(), 20s);
        if (!console_window_) return fail(L"the console showed no window");
        // The counter clears the label to blanks when it starts scanning.
        click(item(idc_cmdcounterstart));
        const bool counting = wait_until(
            [&] {
                const auto t = read_text(item(idc_lblhitpoints));
                return t && !t->empty() && t->find_first_not_of(L' ') == std::wstring::npos;
            },
            10s);
        if (!counting) return fail(L"the counter did not start");
        // Let the scanner take its start text and settle.
        std::this_thread::sleep_for(1s);
        return true;
    }

    HWND item(ControlId id) const { return GetDlgItem(console_window_, id); }
    std::wstring room_text() const { return read_text(room_text_).value_or(L""); }

    void stop() {
        console_.close();
        room_.close();
    }

private:
    bool fail(const std::wstring& why) {
        note(why);
        return false;
    }

    Process room_;
    Process console_;
    HWND frame_ = nullptr;
    HWND room_text_ = nullptr;
    HWND console_window_ = nullptr;
};

std::wstring last_line(const std::wstring& text) {
    const auto cr = text.rfind(L'\r');
    return cr == std::wstring::npos ? text : text.substr(cr + 1);
}

std::size_t count_lines_of(const std::wstring& text, const std::wstring& speaker) {
    std::size_t n = 0;
    const std::wstring head = speaker + L":";
    for (std::size_t at = 0; at < text.size();) {
        if (text.compare(at, head.size(), head) == 0) ++n;
        const auto cr = text.find(L'\r', at);
        if (cr == std::wstring::npos) break;
        at = cr + 1;
    }
    return n;
}

}  // namespace

int run_cpu(const Args& args) {
    const std::wstring bin = args.text(L"--bin", exe_dir());
    const std::wstring ready = args.text(L"--ready");
    const std::wstring go = args.text(L"--go");
    const std::wstring done = args.text(L"--done");
    const bool scroll = args.flag(L"--scroll");
    if (ready.empty() || go.empty() || done.empty()) {
        note(L"cpu needs --ready FILE, --go FILE and --done FILE");
        return 2;
    }

    Spar spar;
    if (!spar.start(bin)) return 1;
    Process reference;
    if (scroll) {
        // The naive loop spins until it is closed when the measuring is
        // done; its own limit is only a safety net.
        if (!launch(reference, exe_dir() + L"\\naive-pause.exe", L"300")) return 1;
        if (!wait_for_window(L"zolbench naive", nullptr, reference.id(), 20s)) return 1;
    } else {
        // A bare window idles beside the console: the memory yardstick.
        if (!launch(reference, exe_dir() + L"\\bare-window.exe")) return 1;
        if (!wait_for_window(L"zolbench bare", nullptr, reference.id(), 20s)) return 1;
    }
    const std::size_t lines_before = count_lines_of(spar.room_text(), kScreenName);
    // The script finds the processes, takes its first reading and says go;
    // the scroll starts right then, so its nine pauses fill the time
    // measured.
    if (!write_file(ready, "ready\n")) {
        note(L"could not write " + ready);
        return 1;
    }
    if (!wait_until([&] { return file_exists(go); }, 120s)) {
        note(L"the bench script never said go");
        return 1;
    }
    if (scroll) click(spar.item(idc_cmdscrollterms));
    if (!wait_until([&] { return file_exists(done); }, 120s)) {
        note(L"the bench script never said it was done");
        return 1;
    }
    report(scroll ? "cpu_scroll_lines_posted" : "cpu_idle_lines_posted",
           static_cast<double>(count_lines_of(spar.room_text(), kScreenName) - lines_before));
    reference.close();
    spar.stop();
    return 0;
}

int run_latency(const Args& args) {
    const std::wstring bin = args.text(L"--bin", exe_dir());
    const int rounds = args.number(L"--rounds", 50);

    Spar spar;
    if (!spar.start(bin)) return 1;
    HWND label = spar.item(idc_lblhitpoints);
    HWND roll = spar.item(idc_cmdrolldyce);
    const std::wstring caption_head = std::wstring(L"~*~ ") + kScreenName + L" scored ";

    std::vector<double> latencies;
    int missed = 0;
    std::mt19937 random(20240607);  // fixed: a rerun draws the same waits
    std::uniform_int_distribution<int> spread(0, 499);
    for (int round = 0; round < rounds; ++round) {
        // A mark only this round can remove: two results with the same total
        // would otherwise leave the label's text unchanged.
        const std::wstring mark = L"round " + std::to_wstring(round);
        set_text(label, mark);
        const std::size_t before = spar.room_text().size();
        click(roll);

        Clock::time_point appeared;
        const bool in_room = wait_until(
            [&] {
                const std::wstring text = spar.room_text();
                if (text.size() <= before || last_line(text).rfind(L"OnlineHost:", 0) != 0) return false;
                appeared = Clock::now();
                return true;
            },
            5s);
        Clock::time_point shown;
        const bool on_label = in_room && wait_until(
                                             [&] {
                                                 if (read_text(label).value_or(mark) == mark) return false;
                                                 shown = Clock::now();
                                                 return true;
                                             },
                                             3s);
        // Read again: the first read may have caught the label between its
        // length and its text, and come back cut short.
        const std::wstring caption = read_text(label).value_or(L"");
        if (on_label && caption.rfind(caption_head, 0) == 0) {
            latencies.push_back(ms_between(appeared, shown));
        } else {
            ++missed;
            note(L"round " + std::to_wstring(round) + L": " +
                 (!in_room ? L"no result in the room" : !on_label ? L"label unchanged" : L"label shows " + caption));
        }
        // The counter pauses one second after each result; the next result
        // comes well after that pause. The extra wait is drawn at random
        // from one scanner period: with a fixed spacing every result would
        // land at the same point of the scanner's 500 ms cycle and the
        // figure would show that point, not the spread a user meets.
        std::this_thread::sleep_for(1200ms + std::chrono::milliseconds(spread(random)));
    }
    spar.stop();

    const Summary s = summarize(latencies);
    report("latency_rounds", rounds);
    report("latency_counted", static_cast<double>(s.count));
    report("latency_missed", missed);
    report("latency_min_ms", s.min);
    report("latency_median_ms", s.median);
    report("latency_max_ms", s.max);
    return missed == 0 ? 0 : 1;
}

}  // namespace zol::bench
