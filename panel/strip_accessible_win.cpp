#include "panel/strip_accessible_win.h"

namespace tilerack {

namespace {

void PutLong(VARIANT* v, long value) {
    v->vt = VT_I4;
    v->lVal = value;
}

HRESULT PutText(BSTR* out, const std::wstring& text) {
    *out = nullptr;
    if (text.empty()) return S_FALSE;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace

HRESULT StripAccessible::QueryInterface(REFIID riid, void** out) {
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == __uuidof(IAccessible)) {
        *out = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG StripAccessible::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }

ULONG StripAccessible::Release() {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

HRESULT StripAccessible::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}
HRESULT StripAccessible::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
HRESULT StripAccessible::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }
HRESULT StripAccessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
    return E_NOTIMPL;
}

long StripAccessible::ChildId(const VARIANT& child) const {
    if (child.vt != VT_I4 || !host_) return -1;
    if (child.lVal == CHILDID_SELF) return 0;
    return child.lVal >= 1 && child.lVal <= host_->AccessibleChildCount() ? child.lVal : -1;
}

HRESULT StripAccessible::get_accParent(IDispatch** parent) {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    if (!host_) return CO_E_OBJNOTCONNECTED;
    // The panel window's own object (frame, border) holds the client area.
    return AccessibleObjectFromWindow(host_->AccessibleWindow(), static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                      reinterpret_cast<void**>(parent));
}

HRESULT StripAccessible::get_accChildCount(long* count) {
    if (!count) return E_POINTER;
    if (!host_) return CO_E_OBJNOTCONNECTED;
    *count = host_->AccessibleChildCount();
    return S_OK;
}

HRESULT StripAccessible::get_accChild(VARIANT child, IDispatch** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!host_) return CO_E_OBJNOTCONNECTED;
    // The buttons are simple elements: their parent answers for them.
    return ChildId(child) > 0 ? S_FALSE : E_INVALIDARG;
}

HRESULT StripAccessible::Text(const VARIANT& child, BSTR* out, std::wstring AccessibleButton::*field,
                              const std::wstring& self) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!host_) return CO_E_OBJNOTCONNECTED;
    const long id = ChildId(child);
    if (id < 0) return E_INVALIDARG;
    if (id == 0) return PutText(out, self);
    AccessibleButton button;
    if (!host_->AccessibleChild(id, button)) return E_INVALIDARG;
    return PutText(out, button.*field);
}

HRESULT StripAccessible::get_accName(VARIANT child, BSTR* name) {
    return Text(child, name, &AccessibleButton::name, host_ ? host_->AccessibleName() : std::wstring{});
}

HRESULT StripAccessible::get_accValue(VARIANT child, BSTR* value) {
    if (!value) return E_POINTER;
    *value = nullptr;
    if (!host_) return CO_E_OBJNOTCONNECTED;
    return ChildId(child) < 0 ? E_INVALIDARG : DISP_E_MEMBERNOTFOUND;
}

HRESULT StripAccessible::get_accDescription(VARIANT child, BSTR* description) {
    return Text(child, description, &AccessibleButton::description, {});
}

HRESULT StripAccessible::get_accRole(VARIANT child, VARIANT* role) {
    if (!role) return E_POINTER;
    VariantInit(role);
    if (!host_) return CO_E_OBJNOTCONNECTED;
    const long id = ChildId(child);
    if (id < 0) return E_INVALIDARG;
    if (id == 0) {
        PutLong(role, ROLE_SYSTEM_TOOLBAR);
        return S_OK;
    }
    AccessibleButton button;
    if (!host_->AccessibleChild(id, button)) return E_INVALIDARG;
    PutLong(role, button.role);
    return S_OK;
}

HRESULT StripAccessible::get_accState(VARIANT child, VARIANT* state) {
    if (!state) return E_POINTER;
    VariantInit(state);
    if (!host_) return CO_E_OBJNOTCONNECTED;
    const long id = ChildId(child);
    if (id < 0) return E_INVALIDARG;
    if (id == 0) {
        const HWND window = host_->AccessibleWindow();
        long flags = STATE_SYSTEM_FOCUSABLE;
        if (!IsWindowVisible(window)) flags |= STATE_SYSTEM_INVISIBLE;
        if (host_->AccessibleFocus() == 0) flags |= STATE_SYSTEM_FOCUSED;
        PutLong(state, flags);
        return S_OK;
    }
    AccessibleButton button;
    if (!host_->AccessibleChild(id, button)) return E_INVALIDARG;
    PutLong(state, static_cast<long>(button.state));
    return S_OK;
}

HRESULT StripAccessible::get_accHelp(VARIANT, BSTR* help) {
    if (!help) return E_POINTER;
    *help = nullptr;
    return host_ ? S_FALSE : CO_E_OBJNOTCONNECTED;
}

HRESULT StripAccessible::get_accHelpTopic(BSTR* file, VARIANT, long* topic) {
    if (file) *file = nullptr;
    if (topic) *topic = 0;
    return host_ ? S_FALSE : CO_E_OBJNOTCONNECTED;
}

HRESULT StripAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
    return Text(child, shortcut, &AccessibleButton::keyboardShortcut, {});
}

HRESULT StripAccessible::get_accFocus(VARIANT* focus) {
    if (!focus) return E_POINTER;
    VariantInit(focus);
    if (!host_) return CO_E_OBJNOTCONNECTED;
    const long id = host_->AccessibleFocus();
    if (id < 0) return S_FALSE;  // VT_EMPTY: the focus is elsewhere
    PutLong(focus, id);
    return S_OK;
}

HRESULT StripAccessible::get_accSelection(VARIANT* selection) {
    if (!selection) return E_POINTER;
    VariantInit(selection);
    return host_ ? S_FALSE : CO_E_OBJNOTCONNECTED;
}

HRESULT StripAccessible::get_accDefaultAction(VARIANT child, BSTR* action) {
    return Text(child, action, &AccessibleButton::defaultAction, {});
}

HRESULT StripAccessible::accSelect(long flags, VARIANT child) {
    if (!host_) return CO_E_OBJNOTCONNECTED;
    const long id = ChildId(child);
    if (id <= 0) return E_INVALIDARG;
    if (!(flags & SELFLAG_TAKEFOCUS)) return S_FALSE;
    return host_->AccessibleSelect(id) ? S_OK : S_FALSE;
}

HRESULT StripAccessible::accLocation(long* left, long* top, long* width, long* height, VARIANT child) {
    if (!left || !top || !width || !height) return E_POINTER;
    *left = *top = *width = *height = 0;
    if (!host_) return CO_E_OBJNOTCONNECTED;
    const long id = ChildId(child);
    if (id < 0) return E_INVALIDARG;
    RECT r{};
    if (id == 0) {
        const HWND window = host_->AccessibleWindow();
        GetClientRect(window, &r);
        MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    } else {
        AccessibleButton button;
        if (!host_->AccessibleChild(id, button)) return E_INVALIDARG;
        r = button.screen;
    }
    *left = r.left;
    *top = r.top;
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return S_OK;
}

HRESULT StripAccessible::accNavigate(long direction, VARIANT start, VARIANT* end) {
    if (!end) return E_POINTER;
    VariantInit(end);
    if (!host_) return CO_E_OBJNOTCONNECTED;
    const long id = ChildId(start);
    const long count = host_->AccessibleChildCount();
    if (id < 0) return E_INVALIDARG;
    long to = -1;
    switch (direction) {
    case NAVDIR_FIRSTCHILD: to = id == 0 && count > 0 ? 1 : -1; break;
    case NAVDIR_LASTCHILD: to = id == 0 && count > 0 ? count : -1; break;
    case NAVDIR_NEXT:
    case NAVDIR_DOWN: to = id > 0 && id < count ? id + 1 : -1; break;
    case NAVDIR_PREVIOUS:
    case NAVDIR_UP: to = id > 1 ? id - 1 : -1; break;
    default: return id == 0 ? S_FALSE : E_NOTIMPL;
    }
    if (to < 0) return S_FALSE;
    PutLong(end, to);
    return S_OK;
}

HRESULT StripAccessible::accHitTest(long x, long y, VARIANT* child) {
    if (!child) return E_POINTER;
    VariantInit(child);
    if (!host_) return CO_E_OBJNOTCONNECTED;
    const long id = host_->AccessibleHitTest(POINT{x, y});
    if (id < 0) return S_FALSE;
    PutLong(child, id);
    return S_OK;
}

HRESULT StripAccessible::accDoDefaultAction(VARIANT child) {
    if (!host_) return CO_E_OBJNOTCONNECTED;
    const long id = ChildId(child);
    if (id <= 0) return id == 0 ? DISP_E_MEMBERNOTFOUND : E_INVALIDARG;
    return host_->AccessibleDoDefaultAction(id) ? S_OK : DISP_E_MEMBERNOTFOUND;
}

HRESULT StripAccessible::put_accName(VARIANT, BSTR) { return host_ ? E_NOTIMPL : CO_E_OBJNOTCONNECTED; }
HRESULT StripAccessible::put_accValue(VARIANT, BSTR) { return host_ ? E_NOTIMPL : CO_E_OBJNOTCONNECTED; }

}  // namespace tilerack
