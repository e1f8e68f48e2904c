// A control's accessible object built on the platform's standard one, the one place that speaks
// COM: every question goes to the standard object (names, places, navigation), except what a
// class derived from it answers itself. Once its control is destroyed, the object answers every
// question with CO_E_OBJNOTCONNECTED, as a screen reader expects of an element that is gone.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <oleacc.h>

#include <string_view>

namespace app {

// Like every COM object it ends in its own Release, never through an interface pointer: the
// interfaces' destructors need not be virtual.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class PlatformAccessible : public IAccessible, public IOleWindow {
public:
    // Takes over the reference to the control's standard object.
    PlatformAccessible(HWND control, IAccessible* standard);
    PlatformAccessible(const PlatformAccessible&) = delete;
    PlatformAccessible& operator=(const PlatformAccessible&) = delete;

    // The control is being destroyed: its objects let go of the standard object and answer no
    // more.
    static void disconnectObjectsOf(HWND control);

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch: screen readers call through the interface; late binding is not offered.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override;

    // IOleWindow: the control's window, for WindowFromAccessibleObject.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override;

    // IAccessible: the standard object's answers.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

protected:
    virtual ~PlatformAccessible();

    HWND control() const
    {
        return control_;
    }
    bool connected() const
    {
        return standard_ != nullptr;
    }

    // Whether a question is about the control itself rather than a child of it.
    static bool isSelf(const VARIANT& child);
    // Answers in the form IAccessible gives them; texts are Windows-1252.
    static HRESULT answerText(std::string_view text, BSTR* answer);
    static HRESULT answerNumber(LONG number, VARIANT* answer);

private:
    LONG references_ = 1;
    HWND control_;
    IAccessible* standard_;  // nullptr once the control is gone
};
#pragma GCC diagnostic pop

}  // namespace app
