// practice-room.exe: start-up, the command line, and the few messages the
// program has for whoever started it.
#include <windows.h>
#include <shellapi.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "practiceroom/options.h"
#include "practiceroom/practice_room_win.h"
#include "practiceroom/script.h"
#include "winui/code_page_win.h"
#include "winui/win_ui.h"

using namespace zol::practiceroom;

namespace {

// Writes to the standard error we were given. A GUI program started from a
// console window has none unless it was redirected, so it borrows the parent
// console's; started any other way the text goes nowhere, which is fine for
// a test tool whose tests redirect it.
void write_stderr(const std::wstring& text) {
    HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    zol::ui::KernelHandle borrowed;
    if ((!err || err == INVALID_HANDLE_VALUE) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        err = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (err != INVALID_HANDLE_VALUE) borrowed.reset(err);
    }
    if (!err || err == INVALID_HANDLE_VALUE) return;
    DWORD mode = 0, written = 0;
    if (GetConsoleMode(err, &mode)) {
        WriteConsoleW(err, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    const std::string bytes = zol::ui::to_code_page(text, CP_UTF8);
    if (bytes.empty()) return;
    WriteFile(err, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::vector<std::wstring> command_line_words() {
    std::vector<std::wstring> words;
    int count = 0;
    const zol::ui::LocalMemory<LPWSTR*> argv(CommandLineToArgvW(GetCommandLineW(), &count));
    if (!argv) return words;
    for (int i = 1; i < count; ++i) words.emplace_back(argv.get()[i]);
    return words;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    const ParsedOptions parsed = parse_options(command_line_words());
    if (!parsed.error.empty()) {
        write_stderr(L"practice-room: " + parsed.error + L"\n" + usage_text());
        return 2;
    }
    const Options& options = parsed.options;
    if (options.help) {
        write_stderr(usage_text());
        return 0;
    }

    Script script;
    if (!options.script_path.empty()) {
        const auto text = read_script_file(options.script_path);
        if (!text) {
            write_stderr(L"practice-room: cannot read the script \"" + options.script_path + L"\"\n");
            return 2;
        }
        script = parse_script(*text);
        for (const std::wstring& problem : script.problems) write_stderr(problem + L"\n");
    }

    const std::uint32_t seed =
        options.seed ? *options.seed
                     : static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count());
    PracticeRoom room(options, std::move(script), seed);
    if (!options.transcript_path.empty() && !room.open_transcript(options.transcript_path)) {
        write_stderr(L"practice-room: cannot open the transcript \"" + options.transcript_path + L"\"\n");
        return 2;
    }
    if (!room.create(instance, show)) {
        write_stderr(L"practice-room: cannot create the windows\n");
        return 1;
    }
    return room.run();
}
