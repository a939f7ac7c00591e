// monkey_win.exe: random real input on the console for some minutes while
// the practice room plays a spar with a dice result every few seconds.
// Clicks, double and triple clicks and keys go through SendInput onto the
// console's controls and menu (never its close box, never Alt+F4 or the
// system menu); the About window is closed whenever it opens, the Help
// window after a few actions on it. Run by scripts/monkey under Wine.
//
// It checks, and prints at the end:
// - the console answered every probe (WM_NULL, one a second) within 2 s;
// - the console never ended (no crash);
// - every line the room received from the user is one the console can post:
//   a roll, init, stamp, xp, scroll or advertisement line, or the
//   announcement of a result the room really showed;
// - after the first minute its GDI and USER counts never rise above what
//   they were then (a count one lower for a while is an object that was
//   alive at that sample, not a leak), and its resident memory stays within
//   1 MB of what it was then. Under Wine resident memory is judged on the
//   process's private part (RssAnon: its heaps, where a leak shows). VmRSS
//   also counts the pages of Wine's own DLLs and the X shared-memory images
//   Wine draws windows through (SysV segments of a window's size, which come
//   and go as windows open and close); it is printed with its parts.
//
//   monkey_win.exe [--minutes M] [--seed N]
//
// Exit code 0 when every check held, 1 when one failed, 2 on a setup error.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <ctime>
#include <cwctype>
#include <deque>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "console/command_lines.h"
#include "console/console_layout.h"
#include "console/dice_counter.h"
#include "tests/support/args.h"
#include "tests/support/files_win.h"
#include "tests/support/input_win.h"
#include "tests/support/process_meter_win.h"
#include "tests/support/spar_lines.h"
#include "tests/support/transcript.h"
#include "tests/support/wait.h"
#include "tests/support/windows_win.h"

namespace zol::monkey {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using test::Process;
using test::Sample;
using test::TranscriptLine;

const std::wstring kMe = L"proctor:  ";
const std::wstring kHost = L"OnlineHost:  ";

long long ms_since(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// ---------------------------------------------------------------------------
// The spar the practice room plays: players talking, players asking the dice
// service for rolls, and results posted as the service posts them, one event
// every two to four seconds.

std::wstring make_script(double minutes, std::mt19937& random) {
    static const wchar_t* const players[] = {L"ShadowWyrm13", L"lil kitsune", L"ironclaw"};
    static const wchar_t* const chatter[] = {
        L"*circles to the left, blade low*", L"ready when u r", L"ow. ok my turn", L"proctor how many hp do i have",
        L"*ducks behind a pillar*",          L"gg so far",      L"brb 1 sec",      L"*tail sweep x2*",
    };
    static const int sides[] = {20, 92, 100};
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    std::wstring text = L"# the monkey's spar\r\n";
    const double total_s = minutes * 60 + 30;
    double at = 3;
    text += L"3 " + std::wstring(players[0]) + L": lets go\r\n";
    while (at < total_s) {
        const double delay = 2 + pick(21) / 10.0;
        at += delay;
        const std::wstring who = players[pick(3)];
        const int kind = pick(3);
        if (kind == 0) {
            text += test::script_line(delay, who, chatter[pick(8)]);
        } else if (kind == 1) {
            text += test::script_line(delay, who, L"//roll-dice " + std::to_wstring(1 + pick(4)) + L"-sides" +
                                                      std::to_wstring(sides[pick(3)]));
        } else {
            // "OnlineHost:  x" in the room is "OnlineHost: x" in a script.
            const int n = 1 + pick(4);
            const int s = sides[pick(3)];
            std::vector<int> values;
            for (int k = 0; k < n; ++k) values.push_back(1 + pick(s));
            text += test::script_line(delay, L"OnlineHost", test::dice_result(who, s, values));
        }
    }
    return text;
}

// ---------------------------------------------------------------------------
// What the console may post.

// The text of a scroll box as the room shows a line cut from it: line breaks
// become blanks, so a posted scroll line is a piece of this.
std::wstring as_room_text(const std::wstring& box) {
    std::wstring out;
    for (std::size_t i = 0; i < box.size(); ++i) {
        const wchar_t ch = box[i];
        if (ch == L'\r' || ch == L'\n') {
            if (ch == L'\r' && i + 1 < box.size() && box[i + 1] == L'\n') ++i;
            out += L' ';
        } else {
            out += ch;
        }
    }
    return out;
}

// Signed number text as the console writes it: digits, a point, and the
// exponent of very large or small values.
bool is_number_text(std::wstring_view t) {
    if (!t.empty() && t.front() == L'-') t.remove_prefix(1);
    if (t.empty() || !std::iswdigit(t.front())) return false;
    return std::all_of(t.begin(), t.end(), [](wchar_t c) { return std::iswdigit(c) || c == L'.' || c == L'E' || c == L'+' || c == L'-'; });
}

bool is_roll(std::wstring_view line) {
    const std::wstring_view head = L"//roll-dice ";
    if (!line.starts_with(head)) return false;
    line.remove_prefix(head.size());
    const auto sides = line.find(L"-sides");
    if (sides == std::wstring_view::npos) return false;
    const std::wstring count(line.substr(0, sides));
    if (!is_number_text(count)) return false;
    const double n = std::wcstod(count.c_str(), nullptr);
    return n >= 1 && n <= 15;
}

bool is_xp(std::wstring_view line) {
    const std::wstring_view head = L"~*~ thys spar is worth", tail = L" xp's ~*~";
    if (!line.starts_with(head) || !line.ends_with(tail)) return false;
    std::wstring_view value = line.substr(head.size(), line.size() - head.size() - tail.size());
    if (value.starts_with(L' ')) value.remove_prefix(1);
    else if (!value.starts_with(L'-')) return false;
    return is_number_text(value);
}

bool is_stamp(std::wstring_view line, const std::set<int>& years) {
    if (!line.starts_with(L"~*~ ") || !line.ends_with(L" ~*~") || line.size() < 12) return false;
    for (int year : years) {
        if (line.find(std::to_wstring(year)) != std::wstring_view::npos) return true;
    }
    return false;
}

struct Verdicts {
    std::map<std::string, int> kinds;  // lines posted, by kind
    std::vector<std::wstring> faults;  // lines the console cannot post
    int results_shown = 0;             // dice results the room showed
};

// Goes through the transcript in order: each line of the user must be one
// the console can post; an announcement must name a result the room showed
// before it, read as the console reads it (the arithmetic is the unit tests'
// and the soak's concern; here the question is where the line came from).
Verdicts judge(const std::vector<TranscriptLine>& lines, const std::vector<std::wstring>& box_texts,
               const std::set<int>& years) {
    Verdicts v;
    std::set<std::wstring> announceable;
    const auto ads = advertisement_lines();
    for (const TranscriptLine& l : lines) {
        if (l.text.starts_with(kHost)) {
            const std::wstring what = l.text.substr(kHost.size());
            if (auto tally = read_dice_result(L"OnlineHost", what)) {
                ++v.results_shown;
                announceable.insert(hit_points_announcement(*tally));
            }
            continue;
        }
        if (!l.text.starts_with(kMe)) continue;
        const std::wstring line = l.text.substr(kMe.size());
        const char* kind = nullptr;
        if (line == init_line()) {
            kind = "init";
        } else if (is_roll(line)) {
            kind = "roll";
        } else if (is_xp(line)) {
            kind = "xp";
        } else if (line == ads[0] || line == ads[1]) {
            kind = "advertisement";
        } else if (announceable.count(line)) {
            kind = "announcement";
        } else if (std::any_of(box_texts.begin(), box_texts.end(),
                               [&](const std::wstring& box) { return box.find(line) != std::wstring::npos; })) {
            kind = "scroll";
        } else if (is_stamp(line, years)) {
            kind = "stamp";
        }
        if (kind) {
            ++v.kinds[kind];
        } else {
            v.faults.push_back(line);
        }
    }
    return v;
}

// ---------------------------------------------------------------------------
// The monkey.

struct Options {
    double minutes = 10;
    unsigned seed = 0;
};

class Monkey {
public:
    Monkey(HWND console, DWORD console_pid, unsigned seed)
        : console_(console), pid_(console_pid), random_(seed) {
        for (const auto& row : console_controls()) {
            if (row.kind != ui::ControlKind::custom) controls_.push_back(row.id);
        }
        sample_boxes();
    }

    // One random action, then a short pause as a person's hand makes.
    void act() {
        if (about()) {
            close_about();
        } else if (help()) {
            on_help();
        } else {
            on_console();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(between(30, 300)));
    }

    // Closes About and Help.
    void close_windows() {
        for (int i = 0; i < 5 && (about() || help()); ++i) {
            if (about()) close_about();
            if (help()) close_help();
        }
    }

    // The same state for every measurement: no About or Help, the focus in
    // the score board (under Wine the caret of a box is a bitmap, one GDI
    // object that comes and goes with the focus), the pointer on a label
    // that shows no tooltip.
    void settle_for_measuring() {
        close_windows();
        make_console_front();
        if (test::click_on(item(idc_txtscoreboard))) {
            test::focus_comes_to(console_, item(idc_txtscoreboard));
        }
        test::move_pointer(test::centre_of(item(idc_Lblhydycetxt)));
        sample_boxes();
    }

    const std::vector<std::wstring>& box_texts() const { return box_list_; }
    std::map<std::string, int> counts;

    // The last actions, for the report when the console ends.
    std::deque<std::string> recent;

private:
    void note(const std::string& what) {
        char at[32];
        std::snprintf(at, sizeof at, "%llu ms: ", static_cast<unsigned long long>(GetTickCount64()));
        recent.push_back(at + what);
        if (recent.size() > 40) recent.pop_front();
    }

    static std::string name_of(HWND window) {
        const std::wstring text = test::text_of(window);
        return std::string(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(text.size(), 20)));
    }

    static std::string class_of(HWND window) {
        char name[64] = "none";
        if (window) GetClassNameA(window, name, sizeof name);
        return name;
    }

    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    bool chance(int percent) { return between(1, 100) <= percent; }

    HWND about() const { return visible(test::find_top_level(L"frmaboutzolspar", nullptr, pid_)); }
    HWND help() const { return visible(test::find_top_level(L"frmhelp", nullptr, pid_)); }
    static HWND visible(HWND w) { return w && IsWindowVisible(w) ? w : nullptr; }
    HWND item(int id) const { return GetDlgItem(console_, id); }

    // A point inside the control, clear of its edge, when nothing covers it
    // (a tooltip may): the console or one of its controls must be there.
    std::optional<POINT> point_in(HWND window, HWND top) {
        RECT r{};
        if (!GetWindowRect(window, &r) || r.right - r.left < 6 || r.bottom - r.top < 6) return std::nullopt;
        const POINT at{between(r.left + 3, r.right - 4), between(r.top + 3, r.bottom - 4)};
        HWND hit = WindowFromPoint(at);
        if (hit != top && !IsChild(top, hit)) return std::nullopt;
        return at;
    }

    void click(HWND window, HWND top, int clicks, const char* what) {
        const auto at = point_in(window, top);
        if (!at) ++counts["clicks skipped, the spot covered"];
        if (at) {
            test::click_at(*at, clicks);
            ++counts[what];
            note(std::to_string(clicks) + " click(s) at " + std::to_string(at->x) + "," + std::to_string(at->y) + " on " +
                 name_of(window));
        }
    }

    // Keys reach the window in front; before keys the console (or the window
    // of its own that is open) must be it.
    void make_console_front() {
        if (GetForegroundWindow() == console_) return;
        if (const auto at = point_in(item(idc_Lblhydycetxt), console_)) {
            test::click_at(*at);
            test::wait_until([&] { return GetForegroundWindow() == console_; }, 2s);
        }
    }

    void on_console() {
        const int roll = between(1, 100);
        if (roll <= 30) {
            click(item(controls_[between(0, static_cast<int>(controls_.size()) - 1)]), console_, 1, "clicks");
        } else if (roll <= 42) {
            click(item(controls_[between(0, static_cast<int>(controls_.size()) - 1)]), console_, 2, "double clicks");
        } else if (roll <= 46) {
            click(item(controls_[between(0, static_cast<int>(controls_.size()) - 1)]), console_, 3, "triple clicks");
        } else if (roll <= 49) {
            const auto at = test::menu_bar_item_point(
                console_, {std::wstring(kAboutMenuText), std::wstring(kHelpMenuText)}, between(0, 1));
            if (!at) {
                ++counts[std::string("menu bar not found, console ") +
                         (IsWindowEnabled(console_) ? "enabled" : "disabled") + ", in front " + class_of(GetForegroundWindow())];
            }
            if (at) {
                const int clicks = chance(25) ? 2 : 1;
                test::click_at(*at, clicks);
                ++counts["menu picks"];
                note(std::to_string(clicks) + " click(s) on the menu at " + std::to_string(at->x) + "," +
                     std::to_string(at->y));
            }
        } else {
            make_console_front();
            key_on_console();
        }
    }

    void key_on_console() {
        HWND focus = test::focus_of(console_);
        const bool in_scroll_box = focus == item(idc_txtscoreboard) || focus == item(idc_txtterms);
        const std::wstring before = in_scroll_box ? test::text_of(focus) : L"";
        bool edits = false;
        const int roll = between(1, 100);
        if (roll <= 15) {
            test::press_key(VK_TAB);
        } else if (roll <= 22) {
            test::press_key(VK_TAB, test::kShift);
        } else if (roll <= 32) {
            test::press_key(VK_SPACE);
            edits = true;
        } else if (roll <= 42) {
            test::press_key(VK_RETURN);
            edits = true;
        } else if (roll <= 62) {
            // The access keys, now and then one that names nothing.
            static const char letters[] = "BCDIORTXYBCDIORTXYAHQZ";
            test::press_alt(letters[between(0, static_cast<int>(sizeof letters) - 2)]);
        } else if (roll <= 84) {
            static const wchar_t typed[] = L"0123456789 .-abcxyz~*";
            test::type_text(std::wstring(1, typed[between(0, static_cast<int>(std::size(typed)) - 2)]));
            edits = true;
        } else if (roll <= 92) {
            test::press_key(chance(50) ? VK_BACK : VK_DELETE);
            edits = true;
        } else if (roll <= 97) {
            static const WORD moves[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_HOME, VK_END};
            test::press_key(moves[between(0, 5)]);
        } else {
            test::press_key(VK_ESCAPE);
        }
        ++counts["keys"];
        note("key " + std::to_string(roll) + " with the focus on " + name_of(focus) + " in front " +
             name_of(GetForegroundWindow()));
        // A scroll box changed by the key is read once it has changed, so that
        // every text it held is known when its lines are judged.
        if (edits && in_scroll_box) {
            test::wait_until([&] { return test::text_of(focus) != before; }, 300ms);
        }
        sample_boxes();
    }

    void close_about() {
        HWND window = about();
        if (!window) return;
        ++counts["About closed"];
        HWND ok = FindWindowExW(window, nullptr, L"Button", nullptr);
        const int way = between(0, 4);
        note("closing About, way " + std::to_string(way));
        switch (way) {
        case 0: click(ok, window, between(1, 3), "clicks"); break;
        case 1: test::press_key(VK_RETURN); break;
        case 2: test::press_key(VK_ESCAPE); break;
        case 3: test::press_key(VK_SPACE); break;
        default: test::press_alt('K'); break;
        }
        if (!test::wait_until([&] { return !IsWindow(window); }, 3s)) {
            ++counts["About not closed in 3 s, way " + std::to_string(way) + ", in front " +
                     class_of(GetForegroundWindow())];
        }
    }

    // A few actions on Help, then it is closed.
    void on_help() {
        HWND window = help();
        if (window != seen_help_) {
            seen_help_ = window;
            ++counts["Help opened"];
            help_actions_ = between(0, 3);
        }
        if (help_actions_-- <= 0) {
            close_help();
            return;
        }
        HWND text = FindWindowExW(window, nullptr, L"Edit", nullptr);
        const int what = between(0, 5);
        note("on Help: " + std::to_string(what));
        switch (what) {
        case 0: click(text, window, between(1, 3), "clicks"); break;
        case 1: test::press_key(VK_TAB); break;
        case 2: test::press_key(VK_NEXT); break;
        case 3: test::press_key(VK_DOWN); break;
        case 4: test::type_text(L"x"); break;
        default: test::press_key(VK_TAB, test::kShift); break;
        }
        ++counts["actions on Help"];
    }

    void close_help() {
        HWND window = help();
        if (!window) return;
        HWND back = FindWindowExW(window, nullptr, L"Button", nullptr);
        if (GetForegroundWindow() != window) test::bring_to_front(window);
        const int way = between(0, 2);
        note("closing Help, way " + std::to_string(way));
        switch (way) {
        case 0: click(back, window, between(1, 2), "clicks"); break;
        case 1: test::press_alt('R'); break;
        default:
            if (test::focus_of(window) != back) test::press_key(VK_TAB);
            test::wait_until([&] { return test::focus_of(window) == back; }, 1s);
            test::press_key(chance(50) ? VK_RETURN : VK_SPACE);
            break;
        }
        if (!test::wait_until([&] { return !IsWindow(window); }, 3s)) {
            ++counts["Help not closed in 3 s, way " + std::to_string(way)];
        }
    }

    void sample_boxes() {
        for (int id : {idc_txtscoreboard, idc_txtterms}) {
            std::wstring text = as_room_text(test::text_of(item(id)));
            if (box_set_.insert(text).second) box_list_.push_back(std::move(text));
        }
    }

    HWND console_;
    DWORD pid_;
    std::mt19937 random_;
    std::vector<int> controls_;
    HWND seen_help_ = nullptr;
    int help_actions_ = 0;
    std::set<std::wstring> box_set_;
    std::vector<std::wstring> box_list_;
};

// Five samples over half a second, keeping the lowest GDI and USER
// counts: a region or object that exists only until the next paint then
// counts in none of them, while anything kept for good counts in all.
Sample settled_sample(const test::Meter& meter) {
    Sample best = meter.sample();
    for (int i = 0; i < 4; ++i) {
        std::this_thread::sleep_for(120ms);
        Sample s = meter.sample();
        if (s.gdi >= 0 && s.gdi < best.gdi) {
            best.gdi = s.gdi;
            best.gdi_by_type = s.gdi_by_type;
        }
        if (s.user >= 0 && s.user < best.user) best.user = s.user;
        best.rss_kb = s.rss_kb;
        best.anon_kb = s.anon_kb;
        best.file_kb = s.file_kb;
        best.shmem_kb = s.shmem_kb;
        best.shm_segments = s.shm_segments;
    }
    return best;
}

void print_sample(const char* when, const Sample& s) {
    std::printf("%-28s VmRSS %6ld kB (anon %6ld, file %6ld, shmem %5ld in %ld segments)   GDI %4ld   USER %4ld\n",
                when, s.rss_kb, s.anon_kb, s.file_kb, s.shmem_kb, s.shm_segments, s.gdi, s.user);
    std::fflush(stdout);
}

// ---------------------------------------------------------------------------
// The run, step by step.

// What the run saw of the console.
struct Observed {
    std::vector<Sample> samples;  // one a minute from the end of the first
    Sample end;                   // once the last lines came, unless the console ended
    long long actions = 0;
    double minutes = 0;
    bool crashed = false;
    DWORD exit_code = 0;
};

// How far the counts and the memory went from where they stood after the
// first minute.
struct Drift {
    Sample base;
    long gdi_min = -1, gdi_max = -1, user_min = -1, user_max = -1;
    long rss_max_off = 0, judged_max_off = 0;
    long rss_floor = -1;  // the lowest later value: memory held for good raises it
};

struct Verdict {
    bool probes = false, crash = false, lines = false, gdi = false, user = false, memory = false;
    bool all() const { return probes && crash && lines && gdi && user && memory; }
};

// A stamp names the year the run began or ended in.
int this_year() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now.wYear;
}

// Private memory under Wine, the working set on Windows.
long judged_kb(const Sample& s) { return s.anon_kb >= 0 ? s.anon_kb : s.rss_kb; }

// Writes the spar's script and starts the practice room playing it, with its
// transcript, and the console beside it. Says on standard output what went
// wrong, and gives a run not started, when it could not.
test::MeasuredRun start_spar(const Options& o, const std::wstring& transcript) {
    std::mt19937 script_random(o.seed);
    const std::wstring script = test::temp_file(L"monkey-script");
    if (!test::write_utf8_file(script, make_script(o.minutes, script_random))) {
        std::printf("cannot write the script\n");
        return {};
    }
    std::printf("monkey: %.1f minutes, seed %u\n", o.minutes, o.seed);
    return test::start_measured_run(
        L"--seed " + std::to_wstring(o.seed) + L" --script \"" + script + L"\" --transcript \"" + transcript + L"\"",
        L"zolspar.exe", kConsoleClass.data(), kConsoleCaption.data(), "monkey");
}

// True, with its exit code noted, once the console has ended.
bool ended(const Process& console, Observed& seen) {
    if (console.running()) return false;
    seen.crashed = true;
    GetExitCodeProcess(console.handle(), &seen.exit_code);
    return true;
}

// The sample at the end of a minute, taken in the same settled state each time.
void sample_minute(Monkey& monkey, const test::Meter& meter, long long minute, Observed& seen) {
    monkey.settle_for_measuring();
    seen.samples.push_back(settled_sample(meter));
    char when[64];
    std::snprintf(when, sizeof when, "minute %lld (%lld actions)", minute, seen.actions);
    print_sample(when, seen.samples.back());
    // What changed, when the GDI count did.
    if (seen.samples.size() > 1 && seen.samples.back().gdi != seen.samples[seen.samples.size() - 2].gdi) {
        std::printf("  GDI by type: %s\n", test::gdi_types_text(seen.samples.back()).c_str());
    }
}

// The monkey acts for the run's minutes, with a sample at the end of each,
// until the console ends; false when the practice room ended under it.
bool play(Monkey& monkey, const test::MeasuredRun& spar, const test::Meter& meter, double minutes,
          Observed& seen) {
    const auto began = Clock::now();
    const long long total_ms = static_cast<long long>(minutes * 60000);
    long long next_sample = 60000;
    while (ms_since(began) < total_ms) {
        if (ended(spar.program, seen)) break;
        if (!spar.room.running()) {
            std::printf("the practice room ended\n");
            return false;
        }
        if (ms_since(began) >= next_sample) {
            sample_minute(monkey, meter, next_sample / 60000, seen);
            next_sample += 60000;
            continue;
        }
        monkey.act();
        ++seen.actions;
    }
    seen.minutes = ms_since(began) / 60000.0;
    return true;
}

// Scrolls still running post their last lines; the boxes no longer change.
// Waits until the user's lines in the transcript have stopped coming.
void wait_for_the_last_lines(const std::wstring& transcript) {
    const auto last_line_ms = [&] {
        long long last = 0;
        for (const auto& l : test::transcript_lines(transcript)) {
            if (l.text.starts_with(kMe)) last = l.ms;
        }
        return last;
    };
    long long last = -1;
    test::wait_until(
        [&] {
            const long long now = last_line_ms();
            const bool settled = now == last;
            last = now;
            if (!settled) std::this_thread::sleep_for(2s);
            return settled;
        },
        180s);
}

Drift drift_of(const Observed& seen) {
    Drift d;
    d.base = seen.samples.empty() ? seen.end : seen.samples.front();
    d.gdi_min = d.gdi_max = d.base.gdi;
    d.user_min = d.user_max = d.base.user;
    d.rss_floor = d.base.rss_kb;
    std::vector<Sample> later(seen.samples.begin() + (seen.samples.empty() ? 0 : 1), seen.samples.end());
    if (!seen.crashed) later.push_back(seen.end);
    for (const Sample& s : later) {
        d.gdi_min = std::min(d.gdi_min, s.gdi), d.gdi_max = std::max(d.gdi_max, s.gdi);
        d.user_min = std::min(d.user_min, s.user), d.user_max = std::max(d.user_max, s.user);
        d.rss_max_off = std::max(d.rss_max_off, std::labs(s.rss_kb - d.base.rss_kb));
        d.judged_max_off = std::max(d.judged_max_off, std::labs(judged_kb(s) - judged_kb(d.base)));
        d.rss_floor = std::min(d.rss_floor, s.rss_kb);
    }
    return d;
}

int posted_count(const Verdicts& lines) {
    int posted = static_cast<int>(lines.faults.size());
    for (const auto& [kind, n] : lines.kinds) posted += n;
    return posted;
}

Verdict verdict_on(const test::Probe& probe, const Observed& seen, const Verdicts& lines, const Drift& d) {
    Verdict v;
    v.probes = probe.unanswered() == 0 && probe.sent() > 0;
    v.crash = !seen.crashed;
    v.lines = lines.faults.empty() && posted_count(lines) > 0;
    v.gdi = !seen.crashed && d.base.gdi >= 0 && d.gdi_min >= 0 && d.gdi_max <= d.base.gdi;
    v.user = !seen.crashed && d.base.user >= 0 && d.user_min >= 0 && d.user_max <= d.base.user;
    v.memory = !seen.crashed && judged_kb(d.base) >= 0 && d.judged_max_off <= 1024;
    return v;
}

void print_actions(const Options& o, const Monkey& monkey, const test::Probe& probe, const Observed& seen) {
    std::printf("\n== monkey figures ==\n");
    std::printf("ran %.1f minutes, seed %u: %lld actions", seen.minutes, o.seed, seen.actions);
    for (const auto& [what, n] : monkey.counts) std::printf(", %s %d", what.c_str(), n);
    std::printf("\n");
    std::printf("probes (WM_NULL, one a second): %lld sent, %lld not answered within 2 s, longest answer %lld ms\n",
                probe.sent(), probe.unanswered(), probe.longest_ms());
    if (seen.crashed) {
        std::printf("console: ENDED during the run, exit code 0x%lx; the last actions:\n", seen.exit_code);
        for (const std::string& what : monkey.recent) std::printf("  %s\n", what.c_str());
    } else {
        std::printf("console: running at the end, no crash\n");
    }
}

void print_lines(const Verdicts& lines) {
    std::printf("lines the console posted: %d (", posted_count(lines));
    bool first = true;
    for (const auto& [kind, n] : lines.kinds) {
        std::printf("%s%s %d", first ? "" : ", ", kind.c_str(), n);
        first = false;
    }
    std::printf("); not a line it can post: %zu\n", lines.faults.size());
    for (std::size_t i = 0; i < lines.faults.size() && i < 10; ++i) std::printf("  %ls\n", lines.faults[i].c_str());
    std::printf("dice results the room showed: %d\n", lines.results_shown);
}

void print_resources(const test::Meter& meter, const Observed& seen, const Drift& d, const Verdict& v) {
    const Sample& base = d.base;
    const Sample& end = seen.end;
    std::printf("%s after minute 1: %ld; later %ld to %ld%s\n", meter.gdi_name(), base.gdi, d.gdi_min, d.gdi_max,
                v.gdi ? " (never above)" : "");
    if (!base.gdi_by_type.empty()) {
        std::printf("  by type after minute 1: %s\n  at the end: %s\n", test::gdi_types_text(base).c_str(),
                    test::gdi_types_text(end).c_str());
    }
    std::printf("%s after minute 1: %ld; later %ld to %ld%s\n", meter.user_name(), base.user, d.user_min, d.user_max,
                v.user ? " (never above)" : "");
    std::printf("VmRSS after minute 1: %ld kB; at the end %ld kB; farthest from it %ld kB%s; "
                "lowest later %ld kB\n",
                base.rss_kb, end.rss_kb, d.rss_max_off, base.anon_kb >= 0 ? "" : " (limit 1024 kB)", d.rss_floor);
    std::printf("VmRSS each minute from the first:");
    for (const Sample& s : seen.samples) std::printf(" %ld", s.rss_kb);
    std::printf(" kB\n");
    if (base.anon_kb >= 0) {
        std::printf("private memory (RssAnon) after minute 1: %ld kB; at the end %ld kB; farthest from it %ld kB "
                    "(limit 1024 kB)\n",
                    base.anon_kb, end.anon_kb, d.judged_max_off);
        std::printf("  each minute:");
        for (const Sample& s : seen.samples) std::printf(" %ld", s.anon_kb);
        std::printf(" kB\n  shared memory (RssShmem) each minute:");
        for (const Sample& s : seen.samples) std::printf(" %ld", s.shmem_kb);
        std::printf(" kB; mapped files (RssFile) after minute 1 %ld kB, at the end %ld kB\n", base.file_kb,
                    end.file_kb);
    }
}

void print_verdict(const Verdict& v) {
    std::printf("verdict: probes %s, crash %s, lines %s, GDI %s, USER %s, memory %s\n", v.probes ? "ok" : "FAILED",
                v.crash ? "ok" : "FAILED", v.lines ? "ok" : "FAILED", v.gdi ? "ok" : "FAILED",
                v.user ? "ok" : "FAILED", v.memory ? "ok" : "FAILED");
    std::fflush(stdout);
}

int run(const Options& o) {
    const std::wstring transcript = test::temp_file(L"monkey-transcript");
    std::set<int> years{this_year()};
    const test::MeasuredRun spar = start_spar(o, transcript);
    if (!spar.started()) return 2;
    const test::Meter meter(spar.program, spar.linux_pid);
    Monkey monkey(spar.window, spar.program.id(), o.seed);
    test::Probe probe(spar.window);

    Observed seen;
    if (!play(monkey, spar, meter, o.minutes, seen)) return 2;
    monkey.settle_for_measuring();
    years.insert(this_year());
    if (!seen.crashed) {
        wait_for_the_last_lines(transcript);
        ended(spar.program, seen);
    }
    probe.stop();
    if (!seen.crashed) seen.end = settled_sample(meter);

    const Verdicts lines = judge(test::transcript_lines(transcript), monkey.box_texts(), years);
    const Drift drift = drift_of(seen);
    const Verdict verdict = verdict_on(probe, seen, lines, drift);
    print_actions(o, monkey, probe, seen);
    print_lines(lines);
    print_resources(meter, seen, drift, verdict);
    print_verdict(verdict);
    return verdict.all() ? 0 : 1;
}

}  // namespace
}  // namespace zol::monkey

int main(int argc, char** argv) {
    const zol::test::Args args(argc, argv, 1);
    zol::monkey::Options options{args.real(L"--minutes", 10), static_cast<unsigned>(std::time(nullptr))};
    if (args.flag(L"--seed")) options.seed = static_cast<unsigned>(std::wcstoul(args.text(L"--seed").c_str(), nullptr, 10));
    if (!args.only({L"--minutes", L"--seed"}) || options.minutes <= 0) {
        std::printf("usage: monkey_win.exe [--minutes M] [--seed N]\n");
        return 2;
    }
    return zol::monkey::run(options);
}
