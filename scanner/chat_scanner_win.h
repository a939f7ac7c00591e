// zolvantachat8: the chat scanner as a child control. It owns the polling
// timer and hands each new chat line to its owner synchronously, from the
// timer tick; the owner's handler may pause (and let further ticks run
// nested) before the tick finishes.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "chathost/host_windows.h"
#include "scanner/chat_scanner.h"
#include "winui/window_win.h"

namespace zol {

class ChatScanner final : public ui::Window {
public:
    using ScanHandler = std::function<void(const std::wstring& who_said, const std::wstring& what_said)>;

    static constexpr wchar_t kClassName[] = L"zolvantachat8";
    static constexpr UINT_PTR kTimer1 = 1;
    static constexpr UINT kTimer1IntervalMs = 500;
    // The control's fixed size in twips, whatever its container asks.
    static constexpr int kWidthTwips = 2400;
    static constexpr int kHeightTwips = 1380;
    // The version label along the bottom of the face.
    static constexpr int kVersionTopTwips = 1080;
    static constexpr int kVersionHeightTwips = 270;

    ChatScanner(HostWindows& host, ScanHandler zolvantascan) : host_(host), zolvantascan_(std::move(zolvantascan)) {}
    ChatScanner(const ChatScanner&) = delete;
    ChatScanner& operator=(const ChatScanner&) = delete;

    // Creates the control as an invisible child of `parent` at (x, y) pixels.
    HWND create(HWND parent, int id, int x, int y);

    void zolvantascan_on();
    void zolvantascan_off();

private:
    LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam) override;
    void tick();

    HostWindows& host_;
    ScanHandler zolvantascan_;
    ScannerMemory memory_;
    bool scanning_ = false;
};

}  // namespace zol
