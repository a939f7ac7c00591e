// Small Win32 helpers shared by our windows: layout in twips scaled by the
// window's DPI, fonts in points, and RAII owners for GDI objects.
#pragma once

#include <windows.h>

#include <string_view>

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

// Owns one GDI object (font, brush, pen) and deletes it once.
template <typename Handle>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(Handle h) : handle_(h) {}
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    GdiObject(GdiObject&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = other.handle_;
            other.handle_ = nullptr;
        }
        return *this;
    }
    ~GdiObject() { reset(); }

    Handle get() const { return handle_; }
    void reset(Handle h = nullptr) {
        if (handle_) DeleteObject(handle_);
        handle_ = h;
    }

private:
    Handle handle_ = nullptr;
};

using Font = GdiObject<HFONT>;
using Brush = GdiObject<HBRUSH>;

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
