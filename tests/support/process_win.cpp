#include "tests/support/process_win.h"

#include <cstdio>

namespace zol::test {

using namespace std::chrono_literals;

std::wstring exe_dir() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"." : path.substr(0, slash);
}

std::wstring temp_file(const std::wstring& stem) {
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    static int counter = 0;
    std::wstring path = std::wstring(dir) + L"zolspar-" + stem + L"-" + std::to_wstring(GetCurrentProcessId()) +
                        L"-" + std::to_wstring(++counter) + L".txt";
    DeleteFileW(path.c_str());
    return path;
}

Process::Process(Process&& other) noexcept : process_(other.process_), id_(other.id_) {
    other.process_ = nullptr;
    other.id_ = 0;
}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        kill();
        process_ = other.process_;
        id_ = other.id_;
        other.process_ = nullptr;
        other.id_ = 0;
    }
    return *this;
}

Process::~Process() { kill(); }

namespace {

HANDLE starter_job() {
    static HANDLE job = [] {
        HANDLE j = CreateJobObjectW(nullptr, nullptr);
        if (j) {
            JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
            limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
            SetInformationJobObject(j, JobObjectExtendedLimitInformation, &limits, sizeof limits);
        }
        return j;
    }();
    return job;
}

bool has_folder(const std::wstring& exe) { return exe.find_first_of(L"\\/:") != std::wstring::npos; }

}  // namespace

Process Process::start(const std::wstring& exe, const std::wstring& args, Await await) {
    Process p;
    const std::wstring path = has_folder(exe) ? exe : exe_dir() + L"\\" + exe;
    PROCESS_INFORMATION pi{};
    // Under Wine a new process now and then dies before it has finished
    // starting, which CreateProcess reports as an internal error (1359);
    // starting it again works. Any other error is final.
    for (int attempt = 1;; ++attempt) {
        std::wstring command = L"\"" + path + L"\" " + args;  // CreateProcessW may write into it
        STARTUPINFOW si{};
        si.cb = sizeof si;
        if (CreateProcessW(path.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) break;
        const DWORD error = GetLastError();
        std::fprintf(stderr, "could not start %ls (error %lu)\n", path.c_str(), error);
        if (error != ERROR_INTERNAL_ERROR || attempt == 3) return p;
    }
    if (HANDLE job = starter_job()) AssignProcessToJobObject(job, pi.hProcess);
    CloseHandle(pi.hThread);
    p.process_ = pi.hProcess;
    p.id_ = pi.dwProcessId;
    if (await == Await::input_idle) WaitForInputIdle(pi.hProcess, 10000);
    return p;
}

bool Process::running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

bool Process::wait(std::chrono::milliseconds timeout) const {
    return !process_ || WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

void Process::kill() {
    if (!process_) return;
    if (running()) {
        TerminateProcess(process_, 1);
        wait(5s);
    }
    forget();
}

namespace {

BOOL CALLBACK close_if_owned(HWND window, LPARAM pid) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == static_cast<DWORD>(pid)) PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

}  // namespace

void Process::close(std::chrono::milliseconds grace) {
    if (!process_) return;
    if (running()) {
        EnumWindows(close_if_owned, static_cast<LPARAM>(id_));
        if (!wait(grace)) {
            TerminateProcess(process_, 1);
            wait(5s);
        }
    }
    forget();
}

void Process::forget() {
    CloseHandle(process_);
    process_ = nullptr;
    id_ = 0;
}

}  // namespace zol::test
