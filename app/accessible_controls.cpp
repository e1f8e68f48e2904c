#include "app/accessible_controls.hpp"

#include "app/control_ids.hpp"
#include "app/page_buttons.hpp"
#include "app/page_layer.hpp"
#include "astro/system_time.hpp"
#include "display/dials.hpp"
#include "display/wide_text.hpp"

#include <commctrl.h>
#include <oleacc.h>

#include <memory>
#include <string>
#include <vector>

namespace app {
namespace {

// What each graphic control is. The states a control has whatever happens (FOCUSABLE,
// SELECTABLE, READONLY) are here; FOCUSED and SELECTED follow the keyboard selection and the
// shown page. Default actions are Windows-1252.
struct ControlNature {
    int id;
    LONG role;
    LONG fixedStates;
    const char* defaultAction;  // a click's; nullptr: the platform's (none)
};

constexpr LONG Tab = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE;
constexpr const char* SwitchTo = "Wechseln";
constexpr const char* Press =
    "Dr\xFC"
    "cken";
constexpr ControlNature Natures[] = {
    // The drawing area reads as its text: the shown page, written out.
    {IdDrawingArea, ROLE_SYSTEM_STATICTEXT, STATE_SYSTEM_READONLY, nullptr},
    {IdButtonPhases, ROLE_SYSTEM_PAGETAB, Tab, SwitchTo},
    {IdButtonData, ROLE_SYSTEM_PAGETAB, Tab, SwitchTo},
    {IdButtonSource, ROLE_SYSTEM_PAGETAB, Tab, SwitchTo},
    {IdButtonExit, ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_FOCUSABLE, Press},
    {IdClock, ROLE_SYSTEM_CLOCK, STATE_SYSTEM_READONLY, nullptr},
    // The count-down dial's hands show the time left to the nearest phase: a clock, whose value
    // is that "hh:mm:ss".
    {IdCountdownDial, ROLE_SYSTEM_CLOCK, STATE_SYSTEM_READONLY, nullptr},
    {IdLitGauge, ROLE_SYSTEM_PROGRESSBAR, STATE_SYSTEM_READONLY, nullptr},
};

// The platform's own states that still hold for a control drawn by the program.
constexpr LONG PlatformStates =
    STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN | STATE_SYSTEM_UNAVAILABLE;

// What the gauge and the count-down dial show, and the gauge's text a screen reader was told
// of last. One window at a time.
struct ShownValues {
    std::string gauge;
    std::string countdown;
    std::string gaugeAnnounced;
};
ShownValues shown;

// The value a screen reader reads; empty: the control has none (yet).
std::string valueOf(int controlId)
{
    switch (controlId) {
    case IdLitGauge:
        return shown.gauge;
    case IdCountdownDial:
        return shown.countdown;
    case IdClock:
        // The clock is drawn afresh every second from the same clock.
        return display::clockText(astro::readLocalClock());
    default:
        return {};
    }
}

// The focus a screen reader sees is the keyboard selection of the buttons; the selected tab is
// the one of the page shown.
LONG currentStates(const ControlNature& nature)
{
    LONG states = nature.fixedStates;
    if ((states & STATE_SYSTEM_FOCUSABLE) != 0 &&
        pageButtonAt(pageButtonState().buttonSelection) == nature.id) {
        states |= STATE_SYSTEM_FOCUSED;
    }
    if ((states & STATE_SYSTEM_SELECTABLE) != 0 && pageButtonAt(currentPage()) == nature.id) {
        states |= STATE_SYSTEM_SELECTED;
    }
    return states;
}

bool isSelf(const VARIANT& child)
{
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

HRESULT answerText(std::string_view text, BSTR* answer)
{
    if (answer == nullptr) {
        return E_POINTER;
    }
    const std::wstring wide = display::wideText(text);
    *answer = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    return *answer != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT answerNumber(LONG number, VARIANT* answer)
{
    if (answer == nullptr) {
        return E_POINTER;
    }
    VariantInit(answer);
    answer->vt = VT_I4;
    answer->lVal = number;
    return S_OK;
}

struct ComRelease {
    void operator()(IUnknown* object) const
    {
        object->Release();
    }
};
using StandardObject = std::unique_ptr<IAccessible, ComRelease>;

// A graphic control's client object: the platform's standard one, with what the control is put
// over it. Every question about a child, and every question this does not answer itself, goes
// to the standard object. Like every COM object it ends in its own Release, never through a base
// pointer: the interfaces' destructors need not be virtual.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class ControlAccessible final : public IAccessible, public IOleWindow {
public:
    ControlAccessible(HWND control, const ControlNature& nature, StandardObject standard)
        : control_(control), nature_(nature), standard_(std::move(standard))
    {
        liveObjects().push_back(this);
    }
    ControlAccessible(const ControlAccessible&) = delete;
    ControlAccessible& operator=(const ControlAccessible&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) ||
            iid == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
        } else if (iid == __uuidof(IOleWindow)) {
            *object = static_cast<IOleWindow*>(this);
        } else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override
    {
        return static_cast<ULONG>(InterlockedIncrement(&references_));
    }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    // IDispatch: screen readers call through the interface; late binding is not offered.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (!connected()) {
            return CO_E_OBJNOTCONNECTED;
        }
        if (count == nullptr) {
            return E_POINTER;
        }
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override
    {
        if (!connected()) {
            return CO_E_OBJNOTCONNECTED;
        }
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        if (!connected()) {
            return CO_E_OBJNOTCONNECTED;
        }
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override
    {
        if (!connected()) {
            return CO_E_OBJNOTCONNECTED;
        }
        return E_NOTIMPL;
    }

    // IOleWindow: the control's window, for WindowFromAccessibleObject.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override
    {
        if (!connected()) {
            return CO_E_OBJNOTCONNECTED;
        }
        if (window == nullptr) {
            return E_POINTER;
        }
        *window = control_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override
    {
        if (!connected()) {
            return CO_E_OBJNOTCONNECTED;
        }
        return E_NOTIMPL;
    }

    // IAccessible: what the control is.
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override
    {
        if (!connected()) {
            return CO_E_OBJNOTCONNECTED;
        }
        if (!isSelf(child)) {
            return standard_->get_accRole(child, role);
        }
        return answerNumber(nature_.role, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override
    {
        if (!connected()) {
            return CO_E_OBJNOTCONNECTED;
        }
        if (!isSelf(child)) {
            return standard_->get_accState(child, state);
        }
        VARIANT platform;
        VariantInit(&platform);
        LONG platformStates = 0;
        if (SUCCEEDED(standard_->get_accState(child, &platform)) && platform.vt == VT_I4) {
            platformStates = platform.lVal & PlatformStates;
        }
        VariantClear(&platform);
        return answerNumber(platformStates | currentStates(nature_), state);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override
    {
        if (!connected()) {
            return CO_E_OBJNOTCONNECTED;
        }
        const std::string text = isSelf(child) ? valueOf(nature_.id) : std::string();
        if (text.empty()) {
            return standard_->get_accValue(child, value);
        }
        return answerText(text, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        if (!connected()) {
            return CO_E_OBJNOTCONNECTED;
        }
        if (!isSelf(child) || nature_.defaultAction == nullptr) {
            return standard_->get_accDefaultAction(child, action);
        }
        return answerText(nature_.defaultAction, action);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        if (!connected()) {
            return CO_E_OBJNOTCONNECTED;
        }
        if (!isSelf(child) || nature_.defaultAction == nullptr) {
            return standard_->accDoDefaultAction(child);
        }
        HWND dialog = GetParent(control_);
        if (dialog == nullptr) {
            return E_FAIL;
        }
        clickPageButton(dialog, nature_.id);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override
    {
        if (!connected()) {
            return CO_E_OBJNOTCONNECTED;
        }
        if ((nature_.fixedStates & STATE_SYSTEM_FOCUSABLE) == 0) {
            return standard_->get_accFocus(focus);
        }
        if (focus == nullptr) {
            return E_POINTER;
        }
        if ((currentStates(nature_) & STATE_SYSTEM_FOCUSED) != 0) {
            return answerNumber(CHILDID_SELF, focus);
        }
        VariantInit(focus);
        return S_FALSE;
    }

    // IAccessible: the platform's answers.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override
    {
        if (!connected()) {
            return CO_E_OBJNOTCONNECTED;
        }
        return standard_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override
    {
        if (!connected()) {
            return CO_E_OBJNOTCONNECTED;
        }
        return standard_->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override
    {
        if (!connected()) {
            return CO_E_OBJNOTCONNECTED;
        }
        return standard_->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        if (!connected()) {
            return CO_E_OBJNOTCONNECTED;
        }
        return standard_->get_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override
    {
        if (!connected()) {
            return CO_E_OBJNOTCONNECTED;
        }
        return standard_->get_accDescription(child, description);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override
    {
        if (!connected()) {
            return CO_E_OBJNOTCONNECTED;
        }
        return standard_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override
    {
        if (!connected()) {
            return CO_E_OBJNOTCONNECTED;
        }
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override
    {
        if (!connected()) {
            return CO_E_OBJNOTCONNECTED;
        }
        return standard_->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override
    {
        if (!connected()) {
            return CO_E_OBJNOTCONNECTED;
        }
        return standard_->get_accSelection(selection);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override
    {
        if (!connected()) {
            return CO_E_OBJNOTCONNECTED;
        }
        return standard_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override
    {
        if (!connected()) {
            return CO_E_OBJNOTCONNECTED;
        }
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override
    {
        if (!connected()) {
            return CO_E_OBJNOTCONNECTED;
        }
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override
    {
        if (!connected()) {
            return CO_E_OBJNOTCONNECTED;
        }
        return standard_->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override
    {
        if (!connected()) {
            return CO_E_OBJNOTCONNECTED;
        }
        return standard_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override
    {
        if (!connected()) {
            return CO_E_OBJNOTCONNECTED;
        }
        return standard_->put_accValue(child, value);
    }

    // The control is gone: from now on every question is answered CO_E_OBJNOTCONNECTED, as a
    // screen reader expects of an object whose element no longer exists.
    static void disconnectObjectsOf(HWND control)
    {
        for (ControlAccessible* object : liveObjects()) {
            if (object->control_ == control) {
                object->standard_.reset();
            }
        }
    }

private:
    ~ControlAccessible()
    {
        std::erase(liveObjects(), this);
    }

    // Every object handed out and not yet released, to be told when its control goes.
    static std::vector<ControlAccessible*>& liveObjects()
    {
        static std::vector<ControlAccessible*> objects;
        return objects;
    }

    bool connected() const
    {
        return standard_ != nullptr;
    }

    LONG references_ = 1;
    HWND control_;
    const ControlNature& nature_;
    StandardObject standard_;
};
#pragma GCC diagnostic pop

// The one place that knows the WM_GETOBJECT hand-off: LresultFromObject takes a reference of
// its own and returns what the caller turns back into the object; on failure (or before COM is
// initialised on this thread) the platform answers instead. A fresh object for every question,
// so nothing outlives the window's need of it.
LRESULT answerGetObject(HWND control, WPARAM wParam, const ControlNature& nature)
{
    IAccessible* standard = nullptr;
    if (FAILED(CreateStdAccessibleObject(control, OBJID_CLIENT, __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&standard))) ||
        standard == nullptr) {
        return 0;
    }
    IAccessible* object = new ControlAccessible(control, nature, StandardObject(standard));
    const LRESULT answer = LresultFromObject(__uuidof(IAccessible), wParam, object);
    object->Release();
    return answer > 0 ? answer : 0;
}

constexpr UINT_PTR SubclassId = 1;

LRESULT CALLBACK accessibleControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR data)
{
    // The object id travels in the low 32 bits; on 64-bit Windows the rest may be anything.
    if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
        const LRESULT answer =
            answerGetObject(control, wParam, *reinterpret_cast<const ControlNature*>(data));
        if (answer != 0) {
            return answer;
        }
    } else if (message == WM_NCDESTROY) {
        ControlAccessible::disconnectObjectsOf(control);
        RemoveWindowSubclass(control, accessibleControlProc, SubclassId);
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace

void makeGraphicControlsAccessible(HWND dialog)
{
    shown = ShownValues{};
    for (const ControlNature& nature : Natures) {
        SetWindowSubclass(GetDlgItem(dialog, nature.id), accessibleControlProc, SubclassId,
                          reinterpret_cast<DWORD_PTR>(&nature));
    }
}

void setAccessibleValue(int controlId, std::string_view text)
{
    if (controlId == IdLitGauge) {
        shown.gauge = text;
    } else if (controlId == IdCountdownDial) {
        shown.countdown = text;
    }
}

void raiseControlEvent(HWND dialog, int controlId, DWORD event)
{
    HWND control = GetDlgItem(dialog, controlId);
    if (control != nullptr) {
        NotifyWinEvent(event, control, OBJID_CLIENT, CHILDID_SELF);
    }
}

void announceGaugeValue(HWND dialog)
{
    if (shown.gauge != shown.gaugeAnnounced) {
        shown.gaugeAnnounced = shown.gauge;
        raiseControlEvent(dialog, IdLitGauge, EVENT_OBJECT_VALUECHANGE);
    }
}

}  // namespace app
