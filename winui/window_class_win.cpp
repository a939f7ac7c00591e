#include "winui/window_class_win.h"

#include <string>

namespace zol::ui {
namespace {

bool registered(ATOM atom) { return atom != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS; }

// Class names are ASCII: the single-byte form is the same characters.
std::string ascii(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (const wchar_t ch : text) out += static_cast<char>(ch);
    return out;
}

// The one filling of a class record, in either character set's form.
template <class ClassRecord, class Name, class Register>
bool register_record(const WindowClass& description, const Name& name, Register register_it) {
    ClassRecord wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = description.procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hIcon = description.icon;
    wc.hIconSm = description.small_icon;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = description.background;
    wc.lpszClassName = name.c_str();
    return registered(register_it(&wc));
}

}  // namespace

bool register_class(const WindowClass& description) {
    if (description.characters == CharacterSet::ansi) {
        return register_record<WNDCLASSEXA>(description, ascii(description.name), RegisterClassExA);
    }
    return register_record<WNDCLASSEXW>(description, std::wstring(description.name), RegisterClassExW);
}

WNDPROC register_superclass(std::wstring_view base, std::wstring_view name, WNDPROC procedure,
                            CharacterSet characters) {
    // The base class is read in the character set of the copy: a system
    // class has a procedure for each, and the copy must call the one its
    // messages come in.
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (characters == CharacterSet::ansi) {
        const std::string base_a = ascii(base), name_a = ascii(name);
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        if (!GetClassInfoExA(nullptr, base_a.c_str(), &wc)) return nullptr;
        const WNDPROC base_procedure = wc.lpfnWndProc;
        wc.hInstance = instance;
        wc.lpszClassName = name_a.c_str();
        wc.style &= ~CS_GLOBALCLASS;
        if (procedure) wc.lpfnWndProc = procedure;
        return registered(RegisterClassExA(&wc)) ? base_procedure : nullptr;
    }
    const std::wstring base_w(base), name_w(name);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(nullptr, base_w.c_str(), &wc)) return nullptr;
    const WNDPROC base_procedure = wc.lpfnWndProc;
    wc.hInstance = instance;
    wc.lpszClassName = name_w.c_str();
    wc.style &= ~CS_GLOBALCLASS;
    if (procedure) wc.lpfnWndProc = procedure;
    return registered(RegisterClassExW(&wc)) ? base_procedure : nullptr;
}

}  // namespace zol::ui
