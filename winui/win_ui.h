// Small Win32 helpers shared by our windows: the window's DPI, fonts in
// points, and RAII owners for handles, GDI objects and their selection into
// a device context, menus and windows.
#pragma once

#include <windows.h>

#include <string_view>

#include "winui/control_row.h"
#include "winui/twips.h"

namespace zol::ui {

// Resource id of the 32x32 program icon in the exe; the console, About and
// Help windows all show it. (LoadIcon finds nothing in a test exe that has no
// such resource, and the windows then go without.)
inline constexpr int kProgramIconId = 1;

// The DPI a window is shown at. GetDpiForWindow exists from Windows 10 1607;
// it is looked up at run time so the exe still starts on older systems and on
// Wine builds that lack it, where the screen's DPI serves.
inline UINT window_dpi(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto get_dpi = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (get_dpi && window) {
        if (UINT dpi = get_dpi(window)) return dpi;
    }
    HDC screen = GetDC(nullptr);
    UINT dpi = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    return dpi ? dpi : 96;
}

// Owns one handle and lets it go once, with Close, when the owner goes or is
// given another. Early returns need no hand-written clean-up.
template <typename Handle, typename Close>
class Owner {
public:
    Owner() = default;
    explicit Owner(Handle h) : handle_(h) {}
    Owner(const Owner&) = delete;
    Owner& operator=(const Owner&) = delete;
    Owner(Owner&& other) noexcept : handle_(other.release()) {}
    Owner& operator=(Owner&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~Owner() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Handle{}; }
    void reset(Handle h = Handle{}) {
        if (handle_ != Handle{}) Close{}(handle_);
        handle_ = h;
    }
    // Gives the handle up without closing it.
    Handle release() {
        Handle h = handle_;
        handle_ = Handle{};
        return h;
    }

private:
    Handle handle_{};
};

struct DeleteGdiObject {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct DestroyWindowIfAlive {
    // A child goes with its parent: destroying it again would be harmless
    // but the handle may by then name another window.
    void operator()(HWND window) const {
        if (IsWindow(window)) DestroyWindow(window);
    }
};
struct DeleteMemoryDc {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
struct CloseKernelHandle {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
struct DestroyMenuIfAlive {
    // A window that fails while being made may already have destroyed the
    // menu it was given.
    void operator()(HMENU menu) const {
        if (IsMenu(menu)) DestroyMenu(menu);
    }
};
struct FreeLocalMemory {
    void operator()(void* memory) const { LocalFree(memory); }
};

using Font = Owner<HFONT, DeleteGdiObject>;
using Brush = Owner<HBRUSH, DeleteGdiObject>;
using Pen = Owner<HPEN, DeleteGdiObject>;
using Bitmap = Owner<HBITMAP, DeleteGdiObject>;
// A device context of CreateCompatibleDC.
using MemoryDc = Owner<HDC, DeleteMemoryDc>;
// A top-level window of ours that no parent destroys (a tooltip window).
using OwnedWindow = Owner<HWND, DestroyWindowIfAlive>;
// A file, event or thread handle; null when there is none (a failed
// CreateFile's INVALID_HANDLE_VALUE is to be stored as null).
using KernelHandle = Owner<HANDLE, CloseKernelHandle>;
// A menu until a window takes it (release() then: the window destroys it).
using Menu = Owner<HMENU, DestroyMenuIfAlive>;
// What the system allocated for us with LocalAlloc (CommandLineToArgvW).
template <typename Pointer>
using LocalMemory = Owner<Pointer, FreeLocalMemory>;

// An object selected into a device context for as long as this lives; the
// object it replaced is selected back when it goes. An object must not be
// deleted while selected: declare the owner of the object before this.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), replaced_(SelectObject(dc, object)) {}
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    ~Selection() {
        if (replaced_ && replaced_ != HGDI_ERROR) SelectObject(dc_, replaced_);
    }

private:
    HDC dc_;
    HGDIOBJ replaced_;
};

// A colour of a layout (see ControlRow) as GDI takes it: a system colour is
// looked up now.
inline COLORREF colour_ref(std::uint32_t colour) {
    return is_system_colour(colour) ? GetSysColor(system_colour_index(colour))
                                    : static_cast<COLORREF>(colour & 0x00FFFFFF);
}

// A font of the described face, size and slant at `dpi`.
inline Font make_font(const FontDesc& desc, UINT dpi) {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(desc.hundredths_of_point, static_cast<int>(dpi), 7200);
    lf.lfWeight = FW_NORMAL;
    lf.lfItalic = desc.italic ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    const std::size_t n = desc.face.size() < LF_FACESIZE - 1 ? desc.face.size() : LF_FACESIZE - 1;
    desc.face.copy(lf.lfFaceName, n);
    lf.lfFaceName[n] = L'\0';
    return Font(CreateFontIndirectW(&lf));
}

}  // namespace zol::ui
