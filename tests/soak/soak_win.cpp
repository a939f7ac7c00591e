// soak_win.exe: the console left running with the counter and "say score"
// on while the practice room posts a dice result every 1.5 seconds, then each
// toggle pressed a thousand times. Checks that every result is counted and
// announced exactly once with the right total, and that the console's memory
// and its GDI and USER objects do not grow. Run by scripts/soak under Wine.
//
//   soak_win.exe [--minutes M] [--presses N]
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
        std::wstring values;
        for (int k = 0; k < n; ++k) {
            const int v = std::uniform_int_distribution<int>(1, s)(random);
            r.total += test::hit_points_of(v);
            values += (k ? L" " : L"") + std::to_wstring(v);
        }
        r.line = L"OnlineHost:  " + r.roller + L" rolled " + std::to_wstring(n) + L" " + std::to_wstring(s) +
                 L"-sided " + (n == 1 ? L"die" : L"dice") + L":  " + values;
        results.push_back(std::move(r));
    }
    return results;
}

std::wstring announcement_of(const Result& r) {
    return kMe + L"~*~ " + r.roller + L" scored " + std::to_wstring(r.total) + L" hyt poynts ~*~";
}

bool write_script(const std::wstring& path, const std::vector<Result>& results) {
    std::wstring text;
    wchar_t delay[32];
    for (std::size_t i = 0; i < results.size(); ++i) {
        const long long ms = i == 0 ? kFirstResultMs : kIntervalMs;
        std::swprintf(delay, 32, L"%lld.%03lld ", ms / 1000, ms % 1000);
        // "OnlineHost:  x" in the room is "OnlineHost: x" in a script line.
        const std::wstring& line = results[i].line;
        text += delay + (L"OnlineHost: " + line.substr(std::wstring(L"OnlineHost:  ").size())) + L"\r\n";
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

struct Options {
    double minutes = 10;
    int presses = 1000;
};

bool wait_for_label(HWND label, const std::function<bool(const std::wstring&)>& ok) {
    return test::wait_until([&] { return ok(test::text_of(label)); }, 5s);
}

int run(const Options& o) {
    const int count = static_cast<int>(o.minutes * 60000 / kIntervalMs);
    const std::vector<Result> results = make_results(count);
    const std::wstring script = test::temp_file(L"soak-script");
    const std::wstring transcript = test::temp_file(L"soak-transcript");
    if (!write_script(script, results)) {
        std::printf("cannot write the script\n");
        return 2;
    }
    std::printf("soak: %d results, one every %.1f s, then %d presses of each toggle\n", count, kIntervalMs / 1000.0,
                o.presses);

    const test::MeasuredRun started =
        test::start_measured_run(L"--seed 4242 --script \"" + script + L"\" --transcript \"" + transcript + L"\"",
                                 L"zolspar.exe", kConsoleClass.data(), kConsoleCaption.data(), "soak");
    if (!started.started()) return 2;
    const Process& console = started.program;
    HWND window = started.window;
    HWND label = GetDlgItem(window, idc_lblhitpoints);
    const Meter meter(console, started.linux_pid);

    Presser presser(window);
    const std::wstring blanks(41, L' ');
    if (!presser.press(idc_cmdcounterstart) || !wait_for_label(label, [&](const auto& t) { return t == blanks; }) ||
        !presser.press(idc_say_score)) {
        std::printf("could not switch the counter and say score on\n");
        return 2;
    }
    const Sample switched_on = meter.sample();
    print_sample("counter and say score on", switched_on);

    // The first result warms the console up: the first line it posts and the
    // first caption it draws load what stays loaded (under Wine some 1.5 MB,
    // mostly font data). Growth is measured from after it.
    const auto began = std::chrono::steady_clock::now();
    auto elapsed = [&] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - began).count();
    };
    if (!test::wait_for_line(transcript, [&](const TranscriptLine& l) { return l.text == announcement_of(results[0]); },
                             std::chrono::milliseconds(kFirstResultMs + 10000))) {
        std::printf("the first result was not announced\n");
        return 1;
    }
    Sleep(300);
    const Sample start = meter.sample();
    print_sample("start (first result announced)", start);

    // The rest of the results, with progress once a minute.
    const long long total_ms = kFirstResultMs + (count - 1) * kIntervalMs + 3000;
    long long next_report = 60000;
    while (elapsed() < total_ms) {
        Sleep(1000);
        if (!console.running()) {
            std::printf("the console ended during the soak\n");
            return 1;
        }
        if (elapsed() >= next_report) {
            const Tally t = tally_results(test::transcript_lines(transcript), results);
            char when[64];
            std::snprintf(when, sizeof when, "minute %lld: %d/%d announced", next_report / 60000, t.announced,
                          t.played);
            print_sample(when, meter.sample());
            next_report += 60000;
        }
    }
    const Sample after_results = meter.sample();
    print_sample("end of the results", after_results);
    const Tally tally = tally_results(test::transcript_lines(transcript), results);
    const std::wstring last_caption = L"~*~ " + results.back().roller + L" scored " +
                                      std::to_wstring(results.back().total) + L" ~*~";
    const bool last_shown = test::text_of(label) == last_caption;

    // The toggles, a thousand presses each; an even number leaves each as it
    // was. The counter's label and the window's topmost style show that each
    // press did what it should.
    int missed = 0, wrong = 0;
    std::vector<Sample> after_toggle;
    const ControlId toggles[] = {idc_say_score, idc_ontop, idc_cmdcounterstart};
    const char* const toggle_names[] = {"say_score", "ontop", "cmdcounterstart"};
    for (int k = 0; k < 3; ++k) {
        for (int i = 0; i < o.presses; ++i) {
            if (!presser.press(toggles[k])) ++missed;
            // Stay on top starts off and the counter on: odd presses turn
            // the one on and the other off.
            const bool odd = i % 2 == 0;
            if (toggles[k] == idc_ontop) {
                const bool on_top = (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
                wrong += on_top != odd;
            } else if (toggles[k] == idc_cmdcounterstart) {
                const bool counting = test::text_of(label) == blanks;
                wrong += counting == odd;
            }
        }
        after_toggle.push_back(meter.sample());
        char when[64];
        std::snprintf(when, sizeof when, "after %d presses of %s", o.presses, toggle_names[k]);
        print_sample(when, after_toggle.back());
    }

    // Still counting and announcing after all that.
    const std::size_t before = test::transcript_lines(transcript).size();
    presser.press(idc_Command1);
    const bool still_counts = test::wait_until(
        [&] {
            const auto lines = test::transcript_lines(transcript);
            for (std::size_t i = before; i < lines.size(); ++i) {
                if (lines[i].text.rfind(kMe + L"~*~ proctor scored ", 0) == 0) return true;
            }
            return false;
        },
        10s);
    const Sample end = meter.sample();

    // The figures.
    const long growth = start.rss_kb >= 0 && after_results.rss_kb >= 0 ? after_results.rss_kb - start.rss_kb : -1;
    const bool memory_ok = growth >= 0 && growth < 1024;
    const bool gdi_ok = start.gdi >= 0 && after_results.gdi == start.gdi &&
                        std::all_of(after_toggle.begin(), after_toggle.end(),
                                    [&](const Sample& s) { return s.gdi == after_results.gdi; });
    const bool user_ok = start.user >= 0 && after_results.user == start.user &&
                         std::all_of(after_toggle.begin(), after_toggle.end(),
                                     [&](const Sample& s) { return s.user == after_results.user; });
    const bool results_ok = tally.played == count && tally.announced == count && tally.faults.empty() && last_shown;
    const bool toggles_ok = missed == 0 && wrong == 0 && still_counts;

    std::printf("\n== soak figures ==\n");
    std::printf("results played / counted and announced once: %d / %d of %d%s\n", tally.played, tally.announced,
                count, last_shown ? "" : "  (last result not on the label)");
    for (std::size_t i = 0; i < tally.faults.size() && i < 10; ++i) std::printf("  %ls\n", tally.faults[i].c_str());
    std::printf("VmRSS: switched on %ld kB, start %ld kB, end %ld kB: growth %ld kB from the start (limit 1024 kB), "
                "%ld kB from switching on\n",
                switched_on.rss_kb, start.rss_kb, after_results.rss_kb, growth,
                after_results.rss_kb - switched_on.rss_kb);
    std::printf("%s: start %ld, end of results %ld, after toggles %ld %ld %ld\n", meter.gdi_name(), start.gdi,
                after_results.gdi, after_toggle[0].gdi, after_toggle[1].gdi, after_toggle[2].gdi);
    std::printf("%s: start %ld, end of results %ld, after toggles %ld %ld %ld\n", meter.user_name(), start.user,
                after_results.user, after_toggle[0].user, after_toggle[1].user, after_toggle[2].user);
    std::printf("VmRSS after the toggles: %ld kB (%+ld kB), at the end %ld kB\n", after_toggle[2].rss_kb,
                after_toggle[2].rss_kb - after_results.rss_kb, end.rss_kb);
    std::printf("presses: %d each, %d not handled within 5 s, %d with the wrong effect; counting afterwards: %s\n",
                o.presses, missed, wrong, still_counts ? "yes" : "NO");
    std::printf("verdict: results %s, memory %s, GDI %s, USER %s, toggles %s\n", results_ok ? "ok" : "FAILED",
                memory_ok ? "ok" : "FAILED", gdi_ok ? "ok" : "FAILED", user_ok ? "ok" : "FAILED",
                toggles_ok ? "ok" : "FAILED");
    std::fflush(stdout);
    return results_ok && memory_ok && gdi_ok && user_ok && toggles_ok ? 0 : 1;
}

}  // namespace
}  // namespace zol::soak

int main(int argc, char** argv) {
    const zol::test::Args args(argc, argv, 1);
    const zol::soak::Options options{args.real(L"--minutes", 10), args.number(L"--presses", 1000)};
    if (!args.only({L"--minutes", L"--presses"}) || options.minutes <= 0 || options.presses < 0) {
        std::printf("usage: soak_win.exe [--minutes M] [--presses N]\n");
        return 2;
    }
    return zol::soak::run(options);
}
