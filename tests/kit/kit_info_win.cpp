// kit-info.exe: what the test kit's report says of the machine it ran on,
// one "name: value" line each: the kit's version, Windows' version and
// build, 32- or 64-bit, the system code page and the user's locale, the
// display scaling, and Wine's version when it runs under Wine.
//
// kit-info.exe --summary LOG: what the report says of one test program
// from its output: its failures, the reasons of its skipped tests and its
// counts, indented. (Done here rather than with findstr, which not every
// cmd has working.)
#include <windows.h>

#include <cstdio>
#include <cstring>
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

}  // namespace

int summary(const char* log) {
    std::ifstream in(log, std::ios::binary);
    if (!in) {
        std::printf("    (no output: %s)\n", log);
        return 1;
    }
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const bool shown = line.rfind("[  FAILED  ]", 0) == 0 || line.find(": Failure") != std::string::npos ||
                           line.rfind("skipped: ", 0) == 0 || line.rfind("[  PASSED  ]", 0) == 0 ||
                           (line.rfind("[  SKIPPED ] ", 0) == 0 && line.find(" listed below") != std::string::npos);
        if (shown) std::printf("    %s\n", line.c_str());
    }
    return 0;
}

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--summary") == 0) return summary(argv[2]);
    std::printf("kit: zolspar %s, %d-bit test programs\n", ZOL_KIT_VERSION, static_cast<int>(sizeof(void*) * 8));

    // GetVersionEx lies to programs without a manifest naming the newest
    // Windows; RtlGetVersion does not.
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (const auto get = ntdll_function<RtlGetVersionFn>("RtlGetVersion"); get && get(&version) == 0) {
        std::printf("windows: %lu.%lu build %lu\n", version.dwMajorVersion, version.dwMinorVersion,
                    version.dwBuildNumber);
    }
    BOOL wow64 = FALSE;
    const auto is_wow64 = reinterpret_cast<IsWow64ProcessFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "IsWow64Process")));
    if (is_wow64) is_wow64(GetCurrentProcess(), &wow64);
    std::printf("system: %s\n", sizeof(void*) == 8 || wow64 ? "64-bit" : "32-bit");
    if (const auto wine = ntdll_function<WineVersionFn>("wine_get_version")) std::printf("wine: %s\n", wine());

    std::printf("code page: %u (ANSI), %u (OEM)\n", GetACP(), GetOEMCP());
    wchar_t locale[LOCALE_NAME_MAX_LENGTH] = L"";
    if (GetUserDefaultLocaleName(locale, LOCALE_NAME_MAX_LENGTH) > 0) std::printf("locale: %ls\n", locale);

    // Without being aware of it, a program is shown the 96 dpi of a scaled
    // display.
    SetProcessDPIAware();
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    std::printf("display: %d x %d pixels, %d dpi (%d %% scaling)\n", GetSystemMetrics(SM_CXSCREEN),
                GetSystemMetrics(SM_CYSCREEN), dpi, dpi * 100 / 96);
    return 0;
}
