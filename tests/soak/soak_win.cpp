// soak_win.exe: the console left running with the counter and "say score"
// on while the practice room posts a dice result every 1.5 seconds, then each
// toggle pressed a thousand times. Checks that every result is counted and
// announced exactly once with the right total, and that the console's memory
// and its GDI and USER objects do not grow. Run by scripts/soak under Wine.
//
// With --nested the results come 0.6 s apart, each inside the one-second
// pause that counting the one before began, for as long as the run lasts:
// checks that every one is counted and announced, that the console answers
// within 2 s throughout, and that its stack does not grow with the results;
// then measures what one nested level costs on the stack by nesting scrolls.
//
//   soak_win.exe [--minutes M] [--presses N]
//   soak_win.exe --nested [--minutes M]
//
// Exit code 0 when every check held, 1 when one failed, 2 on a setup error.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "console/console_layout.h"
#include "tests/support/args.h"
#include "tests/support/console_win.h"
#include "tests/support/files_win.h"
#include "tests/support/process_meter_win.h"
#include "tests/support/spar_lines.h"
#include "tests/support/transcript.h"
#include "tests/support/wait.h"
#include "tests/support/windows_win.h"

namespace zol::soak {
namespace {

using namespace std::chrono_literals;
using test::Meter;
using test::Process;
using test::Sample;
using test::TranscriptLine;

constexpr long long kIntervalMs = 1500;
constexpr long long kNestedIntervalMs = 600;
// The first result comes once the console is up and its counter is on.
constexpr long long kFirstResultMs = 8000;
const std::wstring kMe = L"proctor:  ";

// ---------------------------------------------------------------------------
// The script: one dice result every interval, names and values varied so that
// no two results in a row read alike.

struct Result {
    std::wstring line;  // the room line "OnlineHost:  <name> rolled ..."
    std::wstring roller;
    int total = 0;
};

std::vector<Result> make_results(int count) {
    static const wchar_t* const names[] = {L"dragon", L"wyvern", L"basilisk", L"griffin",
                                           L"hydra",  L"kraken", L"manticore"};
    static const int sides[] = {20, 92, 100};
    std::mt19937 random(20240607);
    std::vector<Result> results;
    for (int i = 0; i < count; ++i) {
        Result r;
        r.roller = names[i % 7];
        const int n = std::uniform_int_distribution<int>(1, 4)(random);
        const int s = sides[std::uniform_int_distribution<int>(0, 2)(random)];
        std::vector<int> values;
        for (int k = 0; k < n; ++k) {
            values.push_back(std::uniform_int_distribution<int>(1, s)(random));
            r.total += test::hit_points_of(values.back());
        }
        r.line = L"OnlineHost:  " + test::dice_result(r.roller, s, values);
        results.push_back(std::move(r));
    }
    return results;
}

std::wstring announcement_of(const Result& r) {
    return kMe + test::score_announcement(r.roller, r.total);
}

bool write_script(const std::wstring& path, const std::vector<Result>& results, long long interval_ms) {
    std::wstring text;
    for (std::size_t i = 0; i < results.size(); ++i) {
        const long long ms = i == 0 ? kFirstResultMs : interval_ms;
        // "OnlineHost:  x" in the room is "OnlineHost: x" in a script line.
        const std::wstring& line = results[i].line;
        text += test::script_line(ms / 1000.0, L"OnlineHost", line.substr(std::wstring(L"OnlineHost:  ").size()));
    }
    return test::write_utf8_file(path, text);
}

// What the transcript says about the results: every result followed, before
// the next one, by exactly one announcement of the user, and that the right
// one; no other line of the user anywhere.
struct Tally {
    int played = 0;     // results that reached the room
    int announced = 0;  // results followed by exactly their announcement
    std::vector<std::wstring> faults;
};

Tally tally_results(const std::vector<TranscriptLine>& lines, const std::vector<Result>& results) {
    Tally t;
    std::size_t next = 0;                    // the next result expected
    const Result* open = nullptr;            // the result awaiting its announcement
    int said_since = 0;
    auto close = [&] {
        if (open && said_since == 1) ++t.announced;
        if (open && said_since != 1) {
            t.faults.push_back(L"announced " + std::to_wstring(said_since) + L" times: " + open->line);
        }
    };
    for (const TranscriptLine& l : lines) {
        if (l.text.rfind(L"OnlineHost:  ", 0) == 0) {
            close();
            if (next >= results.size() || l.text != results[next].line) {
                t.faults.push_back(L"unexpected result line: " + l.text);
                open = nullptr;
                continue;
            }
            open = &results[next++];
            said_since = 0;
            ++t.played;
        } else if (l.text.rfind(kMe, 0) == 0) {
            if (open && l.text == announcement_of(*open)) {
                ++said_since;
            } else {
                t.faults.push_back(L"wrong line posted: " + l.text);
            }
        }
    }
    close();
    return t;
}

void print_sample(const char* when, const Sample& s) {
    std::printf("%-34s VmRSS %6ld kB   GDI %4ld   USER %4ld\n", when, s.rss_kb, s.gdi, s.user);
    std::fflush(stdout);
}

// ---------------------------------------------------------------------------
// Pressing the toggles from outside.

class Presser {
public:
    Presser(HWND console) : console_(console), box_(GetDlgItem(console, idc_txtterms)) {
        // The barrier below needs two characters in the box.
        SendMessageW(box_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"soak"));
    }

    // Posts a click as a mouse click arrives, then a selection change to a
    // box of the same window. Posted messages of one thread are handled in
    // order, so once the selection shows, the click has been handled. The
    // button and the label are then painted, so that every press draws.
    bool press(ControlId id) {
        HWND button = GetDlgItem(console_, id);
        marker_ = marker_ == 1 ? 2 : 1;
        PostMessageW(button, BM_CLICK, 0, 0);
        PostMessageW(box_, EM_SETSEL, marker_ - 1, marker_);
        const bool handled = test::wait_until(
            [&] {
                DWORD_PTR sel = 0;
                if (!SendMessageTimeoutW(box_, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, 5000, &sel)) return false;
                return LOWORD(sel) == marker_ - 1 && HIWORD(sel) == marker_;
            },
            5s);
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(button, WM_PAINT, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
        SendMessageTimeoutW(GetDlgItem(console_, idc_lblhitpoints), WM_PAINT, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
        return handled;
    }

private:
    HWND console_;
    HWND box_;
    unsigned marker_ = 0;
};

// ---------------------------------------------------------------------------
// The steps both runs take.

struct Options {
    double minutes = 10;
    int presses = 1000;
    bool nested = false;
};

long long ms_since(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - from).count();
}

std::string kb(long long bytes) { return bytes < 0 ? "?" : std::to_string(bytes / 1024) + " kB"; }

// The practice room playing the results and the console beside it, with the
// counter and say score switched on.
struct Spar {
    std::vector<Result> results;
    std::wstring transcript;
    test::MeasuredRun run;
    HWND window = nullptr;
    HWND label = nullptr;

    const Process& console() const { return run.program; }
    Tally tally() const { return tally_results(test::transcript_lines(transcript), results); }
    bool announced(const Result& r, std::chrono::milliseconds within) const {
        return test::wait_for_line(transcript, [&](const TranscriptLine& l) { return l.text == announcement_of(r); },
                                   within);
    }
};

// Says on standard output what went wrong, and gives false, when the spar
// could not be set up.
bool start_spar(Spar& spar, int count, long long interval_ms, const std::string& stem) {
    spar.results = make_results(count);
    const std::wstring script = test::temp_file(L"soak-script");
    spar.transcript = test::temp_file(L"soak-transcript");
    if (!write_script(script, spar.results, interval_ms)) {
        std::printf("cannot write the script\n");
        return false;
    }
    spar.run = test::start_measured_run(L"--seed 4242 --script \"" + script + L"\" --transcript \"" + spar.transcript +
                                            L"\"",
                                        L"zolspar.exe", kConsoleClass.data(), kConsoleCaption.data(), stem);
    if (!spar.run.started()) return false;
    spar.window = spar.run.window;
    spar.label = GetDlgItem(spar.window, idc_lblhitpoints);
    return true;
}

bool switch_counting_on(Presser& presser, HWND console) {
    if (presser.press(idc_cmdcounterstart) &&
        test::wait_until([&] { return test::counter_is_running(console); }, 5s) && presser.press(idc_say_score)) {
        return true;
    }
    std::printf("could not switch the counter and say score on\n");
    return false;
}

// Waits out the results, a line of figures once a minute (made by `report`);
// false when the console ended meanwhile. `each_second` runs once a second.
bool follow_results(const Spar& spar, long long total_ms, const std::function<void(const char*)>& report,
                    const std::function<void()>& each_second = {}) {
    const auto began = std::chrono::steady_clock::now();
    long long next_report = 60000;
    while (ms_since(began) < total_ms) {
        Sleep(1000);
        if (!spar.console().running()) {
            std::printf("the console ended after %lld s, with %d results announced\n", ms_since(began) / 1000,
                        spar.tally().announced);
            return false;
        }
        if (each_second) each_second();
        if (ms_since(began) >= next_report) {
            const Tally t = spar.tally();
            char when[64];
            std::snprintf(when, sizeof when, "minute %lld: %d/%d announced", next_report / 60000, t.announced,
                          t.played);
            report(when);
            next_report += 60000;
        }
    }
    return true;
}

// ---------------------------------------------------------------------------
// The soak: results 1.5 s apart, then the toggles pressed a thousand times.

struct TogglePresses {
    int missed = 0, wrong = 0;
    Sample warmed;              // after two presses of each
    std::vector<Sample> after;  // one sample after each toggle's presses
};

// An even number of presses leaves each toggle as it was. The counter's
// label and the window's topmost style show that each press did what it
// should: stay on top starts off and the counter on, so odd presses turn
// the one on and the other off.
TogglePresses press_toggles(Presser& presser, const Spar& spar, const Meter& meter, int presses) {
    TogglePresses t;
    const ControlId toggles[] = {idc_say_score, idc_ontop, idc_cmdcounterstart};
    // Two presses of each first: the first stop of the counter makes the
    // label's font for a stopped counter, which then stays. What the
    // presses must not grow is measured from there.
    for (const ControlId id : toggles) {
        presser.press(id);
        presser.press(id);
    }
    t.warmed = meter.sample();
    print_sample("after two presses of each toggle", t.warmed);
    const char* const toggle_names[] = {"say_score", "ontop", "cmdcounterstart"};
    for (int k = 0; k < 3; ++k) {
        for (int i = 0; i < presses; ++i) {
            if (!presser.press(toggles[k])) ++t.missed;
            const bool odd = i % 2 == 0;
            if (toggles[k] == idc_ontop) {
                t.wrong += ((GetWindowLongW(spar.window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0) != odd;
            } else if (toggles[k] == idc_cmdcounterstart) {
                t.wrong += test::counter_is_running(spar.window) == odd;
            }
        }
        t.after.push_back(meter.sample());
        char when[64];
        std::snprintf(when, sizeof when, "after %d presses of %s", presses, toggle_names[k]);
        print_sample(when, t.after.back());
    }
    return t;
}

// Still counting and announcing: the init roll is counted and said.
bool still_counts(Presser& presser, const Spar& spar) {
    const std::size_t before = test::transcript_lines(spar.transcript).size();
    presser.press(idc_Command1);
    return test::wait_until(
        [&] {
            const auto lines = test::transcript_lines(spar.transcript);
            for (std::size_t i = before; i < lines.size(); ++i) {
                if (lines[i].text.rfind(kMe + L"~*~ proctor scored ", 0) == 0) return true;
            }
            return false;
        },
        10s);
}

int run(const Options& o) {
    const int count = static_cast<int>(o.minutes * 60000 / kIntervalMs);
    std::printf("soak: %d results, one every %.1f s, then %d presses of each toggle\n", count, kIntervalMs / 1000.0,
                o.presses);
    Spar spar;
    if (!start_spar(spar, count, kIntervalMs, "soak")) return 2;
    const Meter meter(spar.console(), spar.run.linux_pid);
    Presser presser(spar.window);
    if (!switch_counting_on(presser, spar.window)) return 2;
    const Sample switched_on = meter.sample();
    print_sample("counter and say score on", switched_on);

    // The first result warms the console up: the first line it posts and the
    // first caption it draws load what stays loaded (under Wine some 1.5 MB,
    // mostly font data). Growth is measured from after it.
    if (!spar.announced(spar.results[0], std::chrono::milliseconds(kFirstResultMs + 10000))) {
        std::printf("the first result was not announced\n");
        return 1;
    }
    Sleep(300);
    const Sample start = meter.sample();
    print_sample("start (first result announced)", start);
    if (!follow_results(spar, (count - 1) * kIntervalMs + 3000,
                        [&](const char* when) { print_sample(when, meter.sample()); })) {
        return 1;
    }
    const Sample after_results = meter.sample();
    print_sample("end of the results", after_results);
    const Tally tally = spar.tally();
    const Result& last = spar.results.back();
    const bool last_shown =
        test::text_of(spar.label) == L"~*~ " + last.roller + L" scored " + std::to_wstring(last.total) + L" ~*~";

    const TogglePresses toggles = press_toggles(presser, spar, meter, o.presses);
    const bool counting_afterwards = still_counts(presser, spar);
    const Sample end = meter.sample();

    const long growth = start.rss_kb >= 0 && after_results.rss_kb >= 0 ? after_results.rss_kb - start.rss_kb : -1;
    const bool memory_ok = growth >= 0 && growth < 1024;
    const auto flat = [&](long Sample::*count) {
        return start.*count >= 0 && after_results.*count == start.*count &&
               std::all_of(toggles.after.begin(), toggles.after.end(),
                           [&](const Sample& s) { return s.*count == toggles.warmed.*count; });
    };
    const bool gdi_ok = flat(&Sample::gdi);
    const bool user_ok = flat(&Sample::user);
    const bool results_ok = tally.played == count && tally.announced == count && tally.faults.empty() && last_shown;
    const bool toggles_ok = toggles.missed == 0 && toggles.wrong == 0 && counting_afterwards;

    std::printf("\n== soak figures ==\n");
    std::printf("results played / counted and announced once: %d / %d of %d%s\n", tally.played, tally.announced,
                count, last_shown ? "" : "  (last result not on the label)");
    for (std::size_t i = 0; i < tally.faults.size() && i < 10; ++i) std::printf("  %ls\n", tally.faults[i].c_str());
    std::printf("VmRSS: switched on %ld kB, start %ld kB, end %ld kB: growth %ld kB from the start (limit 1024 kB), "
                "%ld kB from switching on\n",
                switched_on.rss_kb, start.rss_kb, after_results.rss_kb, growth,
                after_results.rss_kb - switched_on.rss_kb);
    std::printf("%s: start %ld, end of results %ld, two presses of each %ld, after toggles %ld %ld %ld\n",
                meter.gdi_name(), start.gdi, after_results.gdi, toggles.warmed.gdi, toggles.after[0].gdi,
                toggles.after[1].gdi, toggles.after[2].gdi);
    std::printf("%s: start %ld, end of results %ld, two presses of each %ld, after toggles %ld %ld %ld\n",
                meter.user_name(), start.user, after_results.user, toggles.warmed.user, toggles.after[0].user,
                toggles.after[1].user, toggles.after[2].user);
    std::printf("VmRSS after the toggles: %ld kB (%+ld kB), at the end %ld kB\n", toggles.after[2].rss_kb,
                toggles.after[2].rss_kb - after_results.rss_kb, end.rss_kb);
    std::printf("presses: %d each, %d not handled within 5 s, %d with the wrong effect; counting afterwards: %s\n",
                o.presses, toggles.missed, toggles.wrong, counting_afterwards ? "yes" : "NO");
    std::printf("verdict: results %s, memory %s, GDI %s, USER %s, toggles %s\n", results_ok ? "ok" : "FAILED",
                memory_ok ? "ok" : "FAILED", gdi_ok ? "ok" : "FAILED", user_ok ? "ok" : "FAILED",
                toggles_ok ? "ok" : "FAILED");
    std::fflush(stdout);
    return results_ok && memory_ok && gdi_ok && user_ok && toggles_ok ? 0 : 1;
}

// ---------------------------------------------------------------------------
// The nested soak: results 0.6 s apart, each inside the pause of the one
// before.

void print_stack(const char* when, const test::StackUse& st, const Sample& m) {
    std::printf("%-36s stack now %8s, deepest %8s   private memory %6ld kB\n", when, kb(st.now_bytes).c_str(),
                kb(st.peak_bytes).c_str(), m.anon_kb);
    std::fflush(stdout);
}

// How long after the last result's announcement the stack is back where it
// was before the first result; nothing when it is not within 10 s.
std::optional<long long> unwinding_ms(const test::StackMeter& stack, const test::StackUse& idle) {
    const auto from = std::chrono::steady_clock::now();
    const long long margin = 16 * 1024;
    if (!test::wait_until(
            [&] {
                const auto now = stack.sample().now_bytes;
                return now >= 0 && now <= idle.now_bytes + margin;
            },
            10s)) {
        return std::nullopt;
    }
    return ms_since(from);
}

// What one nested level costs on the stack: scrolls of two lines pressed
// one inside the first pause of the one before (each press waits for the
// line of the one before to be posted). -1 when it cannot be told.
constexpr int kScrollLevels = 12;
long long scroll_level_bytes(Presser& presser, const Spar& spar, const test::StackMeter& stack) {
    presser.press(idc_say_score);  // no announcements among the scroll lines
    const std::wstring two_lines = L"nest a\r\nnest b\r\n";
    SendMessageW(GetDlgItem(spar.window, idc_txtscoreboard), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(two_lines.c_str()));
    std::vector<long long> depth;
    for (int level = 1; level <= kScrollLevels; ++level) {
        const std::size_t lines_before = test::transcript_lines(spar.transcript).size();
        PostMessageW(GetDlgItem(spar.window, idc_cmdscoreboard), BM_CLICK, 0, 0);
        test::wait_until([&] { return test::transcript_lines(spar.transcript).size() > lines_before; }, 5s);
        depth.push_back(stack.sample().now_bytes);
    }
    if (depth.front() <= 0 || depth.back() <= depth.front()) return -1;
    return (depth.back() - depth.front()) / (kScrollLevels - 1);
}

int run_nested(const Options& o) {
    const int count = static_cast<int>(o.minutes * 60000 / kNestedIntervalMs);
    std::printf("nested soak: %d results, one every %.1f s, each inside the pause of the one before\n", count,
                kNestedIntervalMs / 1000.0);
    Spar spar;
    if (!start_spar(spar, count, kNestedIntervalMs, "nested")) return 2;
    const Meter meter(spar.console(), spar.run.linux_pid);
    const test::StackMeter stack(spar.window);
    if (!stack.ready()) return 2;
    Presser presser(spar.window);
    if (!switch_counting_on(presser, spar.window)) return 2;
    const test::StackUse idle = stack.sample();
    print_stack("idle, counter and say score on", idle, meter.sample());
    test::Probe probe(spar.window);

    if (!spar.announced(spar.results[0], std::chrono::milliseconds(kFirstResultMs + 10000))) {
        std::printf("the first result was not announced\n");
        return 1;
    }
    const Sample start = meter.sample();
    long long deepest = 0;  // the deepest the stack was seen at a sample
    const bool lasted = follow_results(
        spar, (count - 1) * kNestedIntervalMs,
        [&](const char* when) { print_stack(when, stack.sample(), meter.sample()); },
        [&] { deepest = std::max(deepest, stack.sample().now_bytes); });
    const bool last_announced = lasted && spar.announced(spar.results.back(), 10s);
    const std::optional<long long> unwound = last_announced ? unwinding_ms(stack, idle) : std::nullopt;
    const test::StackUse after = stack.sample();
    const Sample end = meter.sample();
    print_stack("results over", after, end);
    const Tally tally = spar.tally();
    probe.stop();
    const long long level = lasted ? scroll_level_bytes(presser, spar, stack) : -1;

    const bool results_ok = lasted && tally.played == count && tally.announced == count && tally.faults.empty();
    const bool probes_ok = probe.unanswered() == 0 && probe.longest_ms() <= 2000;
    // Flat: the results add at most a few levels to the idle stack, however
    // many came.
    const bool stack_ok = unwound && level > 0 && deepest - idle.now_bytes < 4 * level;

    std::printf("\n== soak figures ==\n");
    std::printf("results played / counted and announced once: %d / %d of %d\n", tally.played, tally.announced, count);
    for (std::size_t i = 0; i < tally.faults.size() && i < 10; ++i) std::printf("  %ls\n", tally.faults[i].c_str());
    std::printf("probes (WM_NULL, one a second): %lld sent, %lld not answered within 2 s, slowest %lld ms\n",
                probe.sent(), probe.unanswered(), probe.longest_ms());
    std::printf("stack: idle %s; deepest during the results %s (sampled each second), %s ever; reserve %s\n",
                kb(idle.now_bytes).c_str(), kb(deepest).c_str(), kb(after.peak_bytes).c_str(),
                kb(after.reserve_bytes).c_str());
    std::printf("one nested level (a scroll inside another's pause, %d levels): %lld bytes; the reserve holds about "
                "%lld such levels\n",
                kScrollLevels, level, level > 0 ? (after.reserve_bytes - idle.now_bytes) / level : -1);
    std::printf("after the last result: back to the idle stack %s (%lld ms)\n", unwound ? "yes" : "NO",
                unwound.value_or(-1));
    std::printf("private memory: start %ld kB, end %ld kB (%+ld kB)\n", start.anon_kb, end.anon_kb,
                end.anon_kb - start.anon_kb);
    std::printf("verdict: results %s, probes %s, stack %s\n", results_ok ? "ok" : "FAILED", probes_ok ? "ok" : "FAILED",
                stack_ok ? "ok" : "FAILED");
    std::fflush(stdout);
    return results_ok && probes_ok && stack_ok ? 0 : 1;
}

}  // namespace
}  // namespace zol::soak

int main(int argc, char** argv) {
    const zol::test::Args args(argc, argv, 1);
    const zol::soak::Options options{args.real(L"--minutes", 10), args.number(L"--presses", 1000),
                                     args.flag(L"--nested")};
    if (!args.only({L"--minutes", L"--presses"}, {L"--nested"}) || options.minutes <= 0 || options.presses < 0) {
        std::printf("usage: soak_win.exe [--minutes M] [--presses N]\n       soak_win.exe --nested [--minutes M]\n");
        return 2;
    }
    return options.nested ? zol::soak::run_nested(options) : zol::soak::run(options);
}
