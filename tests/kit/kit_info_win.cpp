// kit-info.exe: what the test kit's report says of the machine it ran on,
// one "name: value" line each: the kit's version, Windows' version and
// build, 32- or 64-bit, the system code page and the user's locale, the
// display scaling, and Wine's version when it runs under Wine.
//
// kit-info.exe --summary LOG: what the report says of one test program
// from its output: its failures, the reasons of its skipped tests and its
// counts, indented. (Done here rather than with findstr, which not every
// cmd has working.)
//
// With --report FILE after either, the lines are added to the end of FILE
// instead of written out. The report is opened here rather than handed over
// as standard output by cmd: whatever a program starts inherits its
// standard handles, and under Wine the first window a program touches may
// start the desktop's process, which would then keep the report open (cmd
// opens it sharing only reading) and every later line of cmd's would fail
// with "Sharing violation".
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <fstream>
#include <string>

#ifndef ZOL_KIT_VERSION
#define ZOL_KIT_VERSION "unknown"
#endif

namespace {

using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
using WineVersionFn = const char*(__cdecl*)();
using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, BOOL*);

template <class F>
F ntdll_function(const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name)));
}

std::string out;

void say(const char* format, ...) {
    char line[4096];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    out += line;
}

// Adds what was said to the end of the report, or writes it out.
bool put(const wchar_t* report) {
    if (!report) return std::fwrite(out.data(), 1, out.size(), stdout) == out.size();
    HANDLE file = CreateFileW(report, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "kit-info: cannot add to %ls (error %lu)\n", report, GetLastError());
        return false;
    }
    // cmd's own lines end in CR LF; so do these.
    std::string text;
    for (const char ch : out) text += ch == '\n' ? "\r\n" : std::string(1, ch);
    DWORD written = 0;
    const bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                    written == text.size();
    CloseHandle(file);
    return ok;
}

}  // namespace

int summary(const wchar_t* log) {
    std::ifstream in(log, std::ios::binary);
    if (!in) {
        say("    (no output: %ls)\n", log);
        return 1;
    }
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const bool shown = line.rfind("[  FAILED  ]", 0) == 0 || line.find(": Failure") != std::string::npos ||
                           line.rfind("skipped: ", 0) == 0 || line.rfind("[  PASSED  ]", 0) == 0 ||
                           (line.rfind("[  SKIPPED ] ", 0) == 0 && line.find(" listed below") != std::string::npos);
        if (shown) say("    %s\n", line.c_str());
    }
    return 0;
}

void machine() {
    say("kit: zolspar %s, %d-bit test programs\n", ZOL_KIT_VERSION, static_cast<int>(sizeof(void*) * 8));

    // GetVersionEx lies to programs without a manifest naming the newest
    // Windows; RtlGetVersion does not.
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (const auto get = ntdll_function<RtlGetVersionFn>("RtlGetVersion"); get && get(&version) == 0) {
        say("windows: %lu.%lu build %lu\n", version.dwMajorVersion, version.dwMinorVersion,
                    version.dwBuildNumber);
    }
    BOOL wow64 = FALSE;
    const auto is_wow64 = reinterpret_cast<IsWow64ProcessFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "IsWow64Process")));
    if (is_wow64) is_wow64(GetCurrentProcess(), &wow64);
    say("system: %s\n", sizeof(void*) == 8 || wow64 ? "64-bit" : "32-bit");
    if (const auto wine = ntdll_function<WineVersionFn>("wine_get_version")) say("wine: %s\n", wine());

    say("code page: %u (ANSI), %u (OEM)\n", GetACP(), GetOEMCP());
    wchar_t locale[LOCALE_NAME_MAX_LENGTH] = L"";
    if (GetUserDefaultLocaleName(locale, LOCALE_NAME_MAX_LENGTH) > 0) say("locale: %ls\n", locale);

    // Without being aware of it, a program is shown the 96 dpi of a scaled
    // display.
    SetProcessDPIAware();
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    say("display: %d x %d pixels, %d dpi (%d %% scaling)\n", GetSystemMetrics(SM_CXSCREEN),
                GetSystemMetrics(SM_CYSCREEN), dpi, dpi * 100 / 96);
}

int wmain(int argc, wchar_t** argv) {
    const wchar_t* report = nullptr;
    if (argc >= 3 && std::wcscmp(argv[argc - 2], L"--report") == 0) {
        report = argv[argc - 1];
        argc -= 2;
    }
    int status = 0;
    if (argc == 3 && std::wcscmp(argv[1], L"--summary") == 0) {
        status = summary(argv[2]);
    } else if (argc == 1) {
        machine();
    } else {
        std::fprintf(stderr, "usage: kit-info [--summary LOG] [--report FILE]\n");
        return 2;
    }
    return put(report) ? status : 1;
}
