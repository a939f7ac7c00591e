#include "tests/support/console_win.h"

#include <string>

#include "console/console_layout.h"
#include "tests/support/wait.h"
#include "tests/support/windows_win.h"
#include "winui/code_page_win.h"

namespace zol::test {

namespace {

HWND label_of(HWND console) { return GetDlgItem(console, idc_lblhitpoints); }

}  // namespace

bool counter_is_running(HWND console) { return text_of(label_of(console)) == std::wstring(41, L' '); }

Outcome turn_counter_on(HWND console, std::chrono::milliseconds timeout) {
    click(GetDlgItem(console, idc_cmdcounterstart));
    if (wait_until([&] { return counter_is_running(console); }, timeout)) return Outcome::success();
    return Outcome::failure("the counter did not start; the label shows \"" +
                            ui::to_code_page(text_of(label_of(console)), CP_UTF8) + "\"");
}

}  // namespace zol::test
