#include "winui/accessible_name_win.h"

#include <oleacc.h>

#include <utility>

#include "winui/subclass_win.h"

namespace zol::ui {
namespace {

// The screen-reader pieces of the system, loaded on the first WM_GETOBJECT
// rather than imported: only a screen reader or an automation tool asks for
// them, and loading oleacc (with oleaut32) before the console shows would
// make every start slower for the many users who never ask.
struct ScreenReaderApi {
    decltype(&::CreateStdAccessibleObject) create_std_accessible_object = nullptr;
    decltype(&::LresultFromObject) lresult_from_object = nullptr;
    decltype(&::SysAllocString) sys_alloc_string = nullptr;

    bool loaded() const { return create_std_accessible_object && lresult_from_object && sys_alloc_string; }
};

template <typename Function>
void look_up(Function& function, const wchar_t* dll, const char* name) {
    if (HMODULE module = LoadLibraryW(dll)) {
        function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    }
}

const ScreenReaderApi& screen_reader_api() {
    static const ScreenReaderApi api = [] {
        ScreenReaderApi a;
        look_up(a.create_std_accessible_object, L"oleacc.dll", "CreateStdAccessibleObject");
        look_up(a.lresult_from_object, L"oleacc.dll", "LresultFromObject");
        look_up(a.sys_alloc_string, L"oleaut32.dll", "SysAllocString");
        return a;
    }();
    return api;
}

// Wraps the system's accessible object for a control and answers its own
// name for the control itself; every other call goes to the system's
// object, so role, state, value and location stay what they are.
class NamedAccessible final : public IAccessible {
public:
    NamedAccessible(IAccessible* inner, const std::wstring& name) : inner_(inner), name_(name) {}

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) || riid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        return inner_->QueryInterface(riid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { return inner_->GetTypeInfoCount(n); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID l, ITypeInfo** t) override { return inner_->GetTypeInfo(i, l, t); }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID r, LPOLESTR* n, UINT c, LCID l, DISPID* d) override {
        return inner_->GetIDsOfNames(r, n, c, l, d);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID d, REFIID r, LCID l, WORD f, DISPPARAMS* p, VARIANT* v, EXCEPINFO* e,
                                     UINT* a) override {
        return inner_->Invoke(d, r, l, f, p, v, e, a);
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!name) return E_POINTER;
        if (child.vt == VT_I4 && child.lVal == CHILDID_SELF) {
            *name = screen_reader_api().sys_alloc_string(name_.c_str());
            return *name ? S_OK : E_OUTOFMEMORY;
        }
        return inner_->get_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** p) override { return inner_->get_accParent(p); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* n) override { return inner_->get_accChildCount(n); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT c, IDispatch** p) override { return inner_->get_accChild(c, p); }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT c, BSTR* v) override { return inner_->get_accValue(c, v); }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT c, BSTR* d) override {
        return inner_->get_accDescription(c, d);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT c, VARIANT* r) override { return inner_->get_accRole(c, r); }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT c, VARIANT* s) override { return inner_->get_accState(c, s); }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT c, BSTR* h) override { return inner_->get_accHelp(c, h); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* f, VARIANT c, long* t) override {
        return inner_->get_accHelpTopic(f, c, t);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT c, BSTR* k) override {
        return inner_->get_accKeyboardShortcut(c, k);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* c) override { return inner_->get_accFocus(c); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* c) override { return inner_->get_accSelection(c); }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT c, BSTR* a) override {
        return inner_->get_accDefaultAction(c, a);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long f, VARIANT c) override { return inner_->accSelect(f, c); }
    HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* w, long* h, VARIANT c) override {
        return inner_->accLocation(x, y, w, h, c);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long d, VARIANT s, VARIANT* e) override {
        return inner_->accNavigate(d, s, e);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* c) override { return inner_->accHitTest(x, y, c); }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT c) override { return inner_->accDoDefaultAction(c); }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT c, BSTR n) override { return inner_->put_accName(c, n); }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT c, BSTR v) override { return inner_->put_accValue(c, v); }

private:
    ~NamedAccessible() { inner_->Release(); }

    IAccessible* inner_;
    std::wstring name_;
    LONG refs_ = 1;
};

// A named control's subclass: answers the screen reader's request for the
// control's accessible object with one that has `name`.
LRESULT named_control(HWND window, UINT message, WPARAM wparam, LPARAM lparam, std::wstring& name) {
    if (message == WM_GETOBJECT && static_cast<LONG>(lparam) == OBJID_CLIENT && screen_reader_api().loaded()) {
        const ScreenReaderApi& api = screen_reader_api();
        IAccessible* standard = nullptr;
        if (SUCCEEDED(api.create_std_accessible_object(window, OBJID_CLIENT, __uuidof(IAccessible),
                                                       reinterpret_cast<void**>(&standard)))) {
            auto* named = new NamedAccessible(standard, name);
            const LRESULT result = api.lresult_from_object(__uuidof(IAccessible), wparam, named);
            named->Release();
            return result;
        }
    }
    return DefSubclassProc(window, message, wparam, lparam);
}

}  // namespace

void set_accessible_name(HWND control, std::wstring name) { subclass<named_control>(control, std::move(name)); }

}  // namespace zol::ui
