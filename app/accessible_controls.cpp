#include "app/accessible_controls.hpp"

#include "app/accessible_object.hpp"
#include "app/control_ids.hpp"
#include "astro/system_time.hpp"
#include "display/dials.hpp"

#include <commctrl.h>

#include <map>
#include <string>

namespace app {
namespace {

// The values the program set (the gauge's text, the count-down's "hh:mm:ss") and the gauge's
// text a screen reader was told of last. One window at a time.
std::map<int, std::string> shownValues;
std::string gaugeAnnounced;
PageTabs pageTabs{};

std::string shownValue(int controlId)
{
    const auto found = shownValues.find(controlId);
    return found != shownValues.end() ? found->second : std::string();
}

// The clock is drawn afresh every second from the same clock.
std::string clockValue(int)
{
    return display::clockText(astro::readLocalClock());
}

// What each graphic control answers itself. Its states whatever happens are here; FOCUSABLE
// brings FOCUSED where the keyboard selection is, SELECTABLE brings SELECTED for the shown page's
// tab. Texts are Windows-1252.
struct ControlAnswers {
    int id;
    LONG role;
    LONG fixedStates;
    std::string (*value)(int controlId);  // nullptr, or an empty text: the platform's (none)
    const char* defaultAction;            // a click's; nullptr: the platform's (none)
};

constexpr LONG Tab = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE;
constexpr LONG ReadOnly = STATE_SYSTEM_READONLY;
constexpr const char* SwitchTo = "Wechseln";
constexpr const char* Press =
    "Dr\xFC"
    "cken";
constexpr ControlAnswers Answers[] = {
    // The drawing area reads as its text: the shown page, written out.
    {IdDrawingArea, ROLE_SYSTEM_STATICTEXT, ReadOnly, nullptr, nullptr},
    {IdButtonPhases, ROLE_SYSTEM_PAGETAB, Tab, nullptr, SwitchTo},
    {IdButtonData, ROLE_SYSTEM_PAGETAB, Tab, nullptr, SwitchTo},
    {IdButtonSource, ROLE_SYSTEM_PAGETAB, Tab, nullptr, SwitchTo},
    {IdButtonExit, ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_FOCUSABLE, nullptr, Press},
    {IdClock, ROLE_SYSTEM_CLOCK, ReadOnly, clockValue, nullptr},
    // The count-down dial's hands show the time left to the nearest phase: a clock, whose value
    // is that "hh:mm:ss".
    {IdCountdownDial, ROLE_SYSTEM_CLOCK, ReadOnly, shownValue, nullptr},
    {IdLitGauge, ROLE_SYSTEM_PROGRESSBAR, ReadOnly, shownValue, nullptr},
};

// The platform's own states that still hold for a control drawn by the program.
constexpr LONG PlatformStates =
    STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN | STATE_SYSTEM_UNAVAILABLE;

int controlOf(int (*ask)())
{
    return ask != nullptr ? ask() : 0;
}

LONG currentStates(const ControlAnswers& answers)
{
    LONG states = answers.fixedStates;
    if ((states & STATE_SYSTEM_FOCUSABLE) != 0 &&
        controlOf(pageTabs.focusedControl) == answers.id) {
        states |= STATE_SYSTEM_FOCUSED;
    }
    if ((states & STATE_SYSTEM_SELECTABLE) != 0 &&
        controlOf(pageTabs.selectedControl) == answers.id) {
        states |= STATE_SYSTEM_SELECTED;
    }
    return states;
}

// A graphic control's client object: the row of the table over the platform's standard object.
class ControlAccessible final : public PlatformAccessible {
public:
    ControlAccessible(HWND control, IAccessible* standard, const ControlAnswers& answers)
        : PlatformAccessible(control, standard), answers_(answers)
    {
    }

    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override
    {
        if (!connected() || !isSelf(child)) {
            return PlatformAccessible::get_accRole(child, role);
        }
        return answerNumber(answers_.role, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override
    {
        if (!connected() || !isSelf(child)) {
            return PlatformAccessible::get_accState(child, state);
        }
        VARIANT platform;
        VariantInit(&platform);
        LONG platformStates = 0;
        if (SUCCEEDED(PlatformAccessible::get_accState(child, &platform)) && platform.vt == VT_I4) {
            platformStates = platform.lVal & PlatformStates;
        }
        VariantClear(&platform);
        return answerNumber(platformStates | currentStates(answers_), state);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override
    {
        const std::string text = connected() && isSelf(child) && answers_.value != nullptr
                                     ? answers_.value(answers_.id)
                                     : std::string();
        if (text.empty()) {
            return PlatformAccessible::get_accValue(child, value);
        }
        return answerText(text, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        if (!connected() || !isSelf(child) || answers_.defaultAction == nullptr) {
            return PlatformAccessible::get_accDefaultAction(child, action);
        }
        return answerText(answers_.defaultAction, action);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        if (!connected() || !isSelf(child) || answers_.defaultAction == nullptr) {
            return PlatformAccessible::accDoDefaultAction(child);
        }
        HWND dialog = GetParent(control());
        if (dialog == nullptr || pageTabs.click == nullptr) {
            return E_FAIL;
        }
        pageTabs.click(dialog, answers_.id);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override
    {
        if (!connected() || (answers_.fixedStates & STATE_SYSTEM_FOCUSABLE) == 0) {
            return PlatformAccessible::get_accFocus(focus);
        }
        if (focus == nullptr) {
            return E_POINTER;
        }
        if ((currentStates(answers_) & STATE_SYSTEM_FOCUSED) != 0) {
            return answerNumber(CHILDID_SELF, focus);
        }
        VariantInit(focus);
        return S_FALSE;
    }

private:
    const ControlAnswers& answers_;
};

// The one place that knows the WM_GETOBJECT hand-off: LresultFromObject takes a reference of
// its own and returns what the caller turns back into the object; on failure (or before COM is
// initialised on this thread) the platform answers instead. A fresh object for every question,
// so nothing outlives the window's need of it.
LRESULT answerGetObject(HWND control, WPARAM wParam, const ControlAnswers& answers)
{
    IAccessible* standard = nullptr;
    if (FAILED(CreateStdAccessibleObject(control, OBJID_CLIENT, __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&standard))) ||
        standard == nullptr) {
        return 0;
    }
    IAccessible* object = new ControlAccessible(control, standard, answers);
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
            answerGetObject(control, wParam, *reinterpret_cast<const ControlAnswers*>(data));
        if (answer != 0) {
            return answer;
        }
    } else if (message == WM_NCDESTROY) {
        PlatformAccessible::disconnectObjectsOf(control);
        RemoveWindowSubclass(control, accessibleControlProc, SubclassId);
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace

void makeGraphicControlsAccessible(HWND dialog, const PageTabs& tabs)
{
    shownValues.clear();
    gaugeAnnounced.clear();
    pageTabs = tabs;
    for (const ControlAnswers& answers : Answers) {
        SetWindowSubclass(GetDlgItem(dialog, answers.id), accessibleControlProc, SubclassId,
                          reinterpret_cast<DWORD_PTR>(&answers));
    }
}

void setAccessibleValue(int controlId, std::string_view text)
{
    shownValues[controlId] = text;
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
    const std::string gauge = shownValue(IdLitGauge);
    if (gauge != gaugeAnnounced) {
        gaugeAnnounced = gauge;
        raiseControlEvent(dialog, IdLitGauge, EVENT_OBJECT_VALUECHANGE);
    }
}

}  // namespace app
