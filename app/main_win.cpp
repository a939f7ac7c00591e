// zolspar.exe: creates the console and runs its message loop. There is no
// other start-up step: no command line, settings or registry are read.
#include <windows.h>

#include "chathost/user32_host_win.h"
#include "console/console_window_win.h"
#include "infowindows/info_windows_win.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    zol::User32Host host;
    zol::ConsoleWindow* console_ptr = nullptr;
    zol::MessagePump pump([&console_ptr](MSG& msg) {
        if (zol::IsInfoWindowMessage(&msg)) return true;
        return console_ptr && console_ptr->is_dialog_message(msg);
    });
    zol::ConsoleWindow console(host, pump);
    console_ptr = &console;
    if (!console.create(instance, show)) return 1;
    return pump.run();
}
