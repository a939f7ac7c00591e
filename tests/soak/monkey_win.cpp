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
        wchar_t head[32];
        std::swprintf(head, 32, L"%.1f ", delay);
        const std::wstring who = players[pick(3)];
        const int kind = pick(3);
        if (kind == 0) {
            text += head + who + L": " + chatter[pick(8)] + L"\r\n";
        } else if (kind == 1) {
            text += head + who + L": //roll-dice " + std::to_wstring(1 + pick(4)) + L"-sides" +
                    std::to_wstring(sides[pick(3)]) + L"\r\n";
        } else {
            // "OnlineHost:  x" in the room is "OnlineHost: x" in a script.
            const int n = 1 + pick(4);
            const int s = sides[pick(3)];
            std::wstring line = L"OnlineHost: " + who + L" rolled " + std::to_wstring(n) + L" " + std::to_wstring(s) +
                                (n == 1 ? L"-sided die:  " : L"-sided dice:  ");
            for (int k = 0; k < n; ++k) line += (k ? L" " : L"") + std::to_wstring(1 + pick(s));
            text += head + line + L"\r\n";
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

int run(const Options& o) {
    std::mt19937 script_random(o.seed);
    const std::wstring script = test::temp_file(L"monkey-script");
    const std::wstring transcript = test::temp_file(L"monkey-transcript");
    if (!test::write_utf8_file(script, make_script(o.minutes, script_random))) {
        std::printf("cannot write the script\n");
        return 2;
    }
    std::printf("monkey: %.1f minutes, seed %u\n", o.minutes, o.seed);
    std::set<int> years;
    auto note_year = [&] {
        SYSTEMTIME now;
        GetLocalTime(&now);
        years.insert(now.wYear);
    };
    note_year();

    const test::MeasuredRun started = test::start_measured_run(
        L"--seed " + std::to_wstring(o.seed) + L" --script \"" + script + L"\" --transcript \"" + transcript + L"\"",
        L"zolspar.exe", kConsoleClass.data(), kConsoleCaption.data(), "monkey");
    if (!started.started()) return 2;
    const Process& room = started.room;
    const Process& console = started.program;
    HWND window = started.window;
    const test::Meter meter(console, started.linux_pid);

    Monkey monkey(window, console.id(), o.seed);
    test::Probe probe(window);
    const auto began = Clock::now();
    const long long total_ms = static_cast<long long>(o.minutes * 60000);
    std::vector<Sample> samples;  // one a minute from the end of the first
    long long next_sample = 60000;
    bool crashed = false;
    DWORD exit_code = 0;
    long long actions = 0;

    while (ms_since(began) < total_ms) {
        if (!console.running()) {
            crashed = true;
            GetExitCodeProcess(console.handle(), &exit_code);
            break;
        }
        if (!room.running()) {
            std::printf("the practice room ended\n");
            return 2;
        }
        if (ms_since(began) >= next_sample) {
            monkey.settle_for_measuring();
            samples.push_back(settled_sample(meter));
            char when[64];
            std::snprintf(when, sizeof when, "minute %lld (%lld actions)", next_sample / 60000, actions);
            print_sample(when, samples.back());
            // What changed, when the GDI count did.
            if (samples.size() > 1 && samples.back().gdi != samples[samples.size() - 2].gdi) {
                std::printf("  GDI by type: %s\n", test::gdi_types_text(samples.back()).c_str());
            }
            next_sample += 60000;
            continue;
        }
        monkey.act();
        ++actions;
    }
    const double ran_minutes = ms_since(began) / 60000.0;
    monkey.settle_for_measuring();
    note_year();

    // Scrolls still running post their last lines; the boxes no longer change.
    const auto quiet_since = [&] {
        const auto lines = test::transcript_lines(transcript);
        long long last = 0;
        for (const auto& l : lines) {
            if (l.text.starts_with(kMe)) last = l.ms;
        }
        return last;
    };
    if (!crashed) {
        long long last = -1;
        test::wait_until(
            [&] {
                const long long now = quiet_since();
                const bool settled = now == last;
                last = now;
                if (!settled) std::this_thread::sleep_for(2s);
                return settled;
            },
            180s);
        crashed = !console.running();
        if (crashed) GetExitCodeProcess(console.handle(), &exit_code);
    }
    probe.stop();
    const Sample end = crashed ? Sample{} : settled_sample(meter);

    // The figures.
    const Verdicts v = judge(test::transcript_lines(transcript), monkey.box_texts(), years);
    int posted = 0;
    for (const auto& [kind, n] : v.kinds) posted += n;
    posted += static_cast<int>(v.faults.size());

    const Sample base = samples.empty() ? end : samples.front();
    long gdi_min = base.gdi, gdi_max = base.gdi, user_min = base.user, user_max = base.user;
    // Private memory under Wine, the working set on Windows.
    const auto judged_kb = [](const Sample& s) { return s.anon_kb >= 0 ? s.anon_kb : s.rss_kb; };
    long rss_max_off = 0, judged_max_off = 0;
    long rss_floor = base.rss_kb;  // the lowest later value: memory held for good raises it
    std::vector<Sample> later(samples.begin() + (samples.empty() ? 0 : 1), samples.end());
    if (!crashed) later.push_back(end);
    for (const Sample& s : later) {
        gdi_min = std::min(gdi_min, s.gdi), gdi_max = std::max(gdi_max, s.gdi);
        user_min = std::min(user_min, s.user), user_max = std::max(user_max, s.user);
        rss_max_off = std::max(rss_max_off, std::labs(s.rss_kb - base.rss_kb));
        judged_max_off = std::max(judged_max_off, std::labs(judged_kb(s) - judged_kb(base)));
        rss_floor = std::min(rss_floor, s.rss_kb);
    }
    const bool probes_ok = probe.unanswered() == 0 && probe.sent() > 0;
    const bool lines_ok = v.faults.empty() && posted > 0;
    const bool gdi_ok = !crashed && base.gdi >= 0 && gdi_min >= 0 && gdi_max <= base.gdi;
    const bool user_ok = !crashed && base.user >= 0 && user_min >= 0 && user_max <= base.user;
    const bool memory_ok = !crashed && judged_kb(base) >= 0 && judged_max_off <= 1024;

    std::printf("\n== monkey figures ==\n");
    std::printf("ran %.1f minutes, seed %u: %lld actions", ran_minutes, o.seed, actions);
    for (const auto& [what, n] : monkey.counts) std::printf(", %s %d", what.c_str(), n);
    std::printf("\n");
    std::printf("probes (WM_NULL, one a second): %lld sent, %lld not answered within 2 s, longest answer %lld ms\n",
                probe.sent(), probe.unanswered(), probe.longest_ms());
    if (crashed) {
        std::printf("console: ENDED during the run, exit code 0x%lx; the last actions:\n", exit_code);
        for (const std::string& what : monkey.recent) std::printf("  %s\n", what.c_str());
    } else {
        std::printf("console: running at the end, no crash\n");
    }
    std::printf("lines the console posted: %d (", posted);
    bool first = true;
    for (const auto& [kind, n] : v.kinds) {
        std::printf("%s%s %d", first ? "" : ", ", kind.c_str(), n);
        first = false;
    }
    std::printf("); not a line it can post: %zu\n", v.faults.size());
    for (std::size_t i = 0; i < v.faults.size() && i < 10; ++i) std::printf("  %ls\n", v.faults[i].c_str());
    std::printf("dice results the room showed: %d\n", v.results_shown);
    std::printf("%s after minute 1: %ld; later %ld to %ld%s\n", meter.gdi_name(), base.gdi, gdi_min, gdi_max,
                gdi_ok ? " (never above)" : "");
    if (!base.gdi_by_type.empty()) {
        std::printf("  by type after minute 1: %s\n  at the end: %s\n", test::gdi_types_text(base).c_str(),
                    test::gdi_types_text(end).c_str());
    }
    std::printf("%s after minute 1: %ld; later %ld to %ld%s\n", meter.user_name(), base.user, user_min, user_max,
                user_ok ? " (never above)" : "");
    std::printf("VmRSS after minute 1: %ld kB; at the end %ld kB; farthest from it %ld kB%s; "
                "lowest later %ld kB\n",
                base.rss_kb, end.rss_kb, rss_max_off, base.anon_kb >= 0 ? "" : " (limit 1024 kB)", rss_floor);
    std::printf("VmRSS each minute from the first:");
    for (const Sample& s : samples) std::printf(" %ld", s.rss_kb);
    std::printf(" kB\n");
    if (base.anon_kb >= 0) {
        std::printf("private memory (RssAnon) after minute 1: %ld kB; at the end %ld kB; farthest from it %ld kB "
                    "(limit 1024 kB)\n",
                    base.anon_kb, end.anon_kb, judged_max_off);
        std::printf("  each minute:");
        for (const Sample& s : samples) std::printf(" %ld", s.anon_kb);
        std::printf(" kB\n  shared memory (RssShmem) each minute:");
        for (const Sample& s : samples) std::printf(" %ld", s.shmem_kb);
        std::printf(" kB; mapped files (RssFile) after minute 1 %ld kB, at the end %ld kB\n", base.file_kb,
                    end.file_kb);
    }
    std::printf("verdict: probes %s, crash %s, lines %s, GDI %s, USER %s, memory %s\n", probes_ok ? "ok" : "FAILED",
                crashed ? "FAILED" : "ok", lines_ok ? "ok" : "FAILED", gdi_ok ? "ok" : "FAILED",
                user_ok ? "ok" : "FAILED", memory_ok ? "ok" : "FAILED");
    std::fflush(stdout);
    return probes_ok && !crashed && lines_ok && gdi_ok && user_ok && memory_ok ? 0 : 1;
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
