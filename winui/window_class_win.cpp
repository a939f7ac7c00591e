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

namespace {

// The copy of a class, in either character set's form.
template <class ClassRecord, class Name, class GetInfo, class Register>
WNDPROC copy_class(const Name& base, const Name& name, WNDPROC procedure, GetInfo get_info,
                   Register register_it) {
    ClassRecord wc{};
    wc.cbSize = sizeof wc;
    if (!get_info(nullptr, base.c_str(), &wc)) return nullptr;
    const WNDPROC base_procedure = wc.lpfnWndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = name.c_str();
    wc.style &= ~CS_GLOBALCLASS;
    if (procedure) wc.lpfnWndProc = procedure;
    return registered(register_it(&wc)) ? base_procedure : nullptr;
}

}  // namespace

WNDPROC register_superclass(std::wstring_view base, std::wstring_view name, WNDPROC procedure,
                            CharacterSet characters) {
    // The base class is read in the character set of the copy: a system
    // class has a procedure for each, and the copy must call the one its
    // messages come in.
    if (characters == CharacterSet::ansi) {
        return copy_class<WNDCLASSEXA>(ascii(base), ascii(name), procedure, GetClassInfoExA, RegisterClassExA);
    }
    return copy_class<WNDCLASSEXW>(std::wstring(base), std::wstring(name), procedure, GetClassInfoExW,
                                   RegisterClassExW);
}

}  // namespace zol::ui
