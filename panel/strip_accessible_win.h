#pragma once
// What assistive technology reads of the panel: its client area as one
// accessible object (IAccessible) whose simple children are the windowless
// buttons of the strip, ids 1..n the item buttons in list order, then the
// hide, menu and close buttons. The object asks the panel through
// AccessibleStripHost; the panel cuts it off when it goes, after which every
// call answers CO_E_OBJNOTCONNECTED (a client may hold it longer).
#include <windows.h>
#include <oleacc.h>

#include <string>

namespace tilerack {

struct AccessibleButton {
    std::wstring name;
    std::wstring description;
    std::wstring defaultAction;
    std::wstring keyboardShortcut;  // the key that starts it, or none
    RECT screen{};      // its place on the screen
    DWORD state = 0;    // STATE_SYSTEM_* flags
    long role = ROLE_SYSTEM_PUSHBUTTON;
};

class AccessibleStripHost {
public:
    virtual ~AccessibleStripHost() = default;
    virtual HWND AccessibleWindow() const = 0;
    virtual std::wstring AccessibleName() const = 0;
    virtual long AccessibleChildCount() const = 0;
    // Child `id` (1..count); false for any other id.
    virtual bool AccessibleChild(long id, AccessibleButton& out) const = 0;
    // The child with the keyboard focus; 0 when the panel itself has it, -1
    // when the focus is elsewhere.
    virtual long AccessibleFocus() const = 0;
    // The child under a screen point; 0 for the panel itself, -1 outside it.
    virtual long AccessibleHitTest(POINT screen) const = 0;
    // Carries out the child's default action later (the caller is not kept
    // waiting on a started program or a message box).
    virtual bool AccessibleDoDefaultAction(long id) = 0;
    // Gives the child the keyboard focus.
    virtual bool AccessibleSelect(long id) = 0;
};

class StripAccessible final : public IAccessible {
public:
    explicit StripAccessible(AccessibleStripHost* host) : host_(host) {}
    // The panel is going: every later call fails.
    void Disconnect() { host_ = nullptr; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDispatch: no type information; clients use the IAccessible methods.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;
    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override;

private:
    ~StripAccessible() = default;
    // The child id a VARIANT names: 0 for the panel itself, -1 for none.
    long ChildId(const VARIANT& child) const;
    HRESULT Text(const VARIANT& child, BSTR* out, std::wstring AccessibleButton::*field, const std::wstring& self);

    LONG refs_ = 1;
    AccessibleStripHost* host_;
};

}  // namespace tilerack
