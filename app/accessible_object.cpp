#include "app/accessible_object.hpp"

#include "display/wide_text.hpp"

#include <string>
#include <vector>

namespace app {
namespace {

// Every object handed out and not yet released, so that it can be told when its control goes.
std::vector<PlatformAccessible*>& liveObjects()
{
    static std::vector<PlatformAccessible*> objects;
    return objects;
}

}  // namespace

PlatformAccessible::PlatformAccessible(HWND control, IAccessible* standard)
    : control_(control), standard_(standard)
{
    liveObjects().push_back(this);
}

PlatformAccessible::~PlatformAccessible()
{
    std::erase(liveObjects(), this);
    if (standard_ != nullptr) {
        standard_->Release();
    }
}

void PlatformAccessible::disconnectObjectsOf(HWND control)
{
    for (PlatformAccessible* object : liveObjects()) {
        if (object->control_ == control && object->standard_ != nullptr) {
            object->standard_->Release();
            object->standard_ = nullptr;
        }
    }
}

HRESULT PlatformAccessible::QueryInterface(REFIID iid, void** object)
{
    if (object == nullptr) {
        return E_POINTER;
    }
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
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

ULONG PlatformAccessible::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG PlatformAccessible::Release()
{
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) {
        delete this;
    }
    return static_cast<ULONG>(left);
}

HRESULT PlatformAccessible::GetTypeInfoCount(UINT* count)
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

HRESULT PlatformAccessible::GetTypeInfo(UINT, LCID, ITypeInfo**)
{
    return connected() ? E_NOTIMPL : CO_E_OBJNOTCONNECTED;
}

HRESULT PlatformAccessible::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return connected() ? E_NOTIMPL : CO_E_OBJNOTCONNECTED;
}

HRESULT PlatformAccessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*)
{
    return connected() ? E_NOTIMPL : CO_E_OBJNOTCONNECTED;
}

HRESULT PlatformAccessible::GetWindow(HWND* window)
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

HRESULT PlatformAccessible::ContextSensitiveHelp(BOOL)
{
    return connected() ? E_NOTIMPL : CO_E_OBJNOTCONNECTED;
}

// The standard object's answers while the control is there.

HRESULT PlatformAccessible::get_accParent(IDispatch** parent)
{
    return connected() ? standard_->get_accParent(parent) : CO_E_OBJNOTCONNECTED;
}

HRESULT PlatformAccessible::get_accChildCount(LONG* count)
{
    return connected() ? standard_->get_accChildCount(count) : CO_E_OBJNOTCONNECTED;
}

HRESULT PlatformAccessible::get_accChild(VARIANT child, IDispatch** object)
{
    return connected() ? standard_->get_accChild(child, object) : CO_E_OBJNOTCONNECTED;
}

HRESULT PlatformAccessible::get_accName(VARIANT child, BSTR* name)
{
    return connected() ? standard_->get_accName(child, name) : CO_E_OBJNOTCONNECTED;
}

HRESULT PlatformAccessible::get_accValue(VARIANT child, BSTR* value)
{
    return connected() ? standard_->get_accValue(child, value) : CO_E_OBJNOTCONNECTED;
}

HRESULT PlatformAccessible::get_accDescription(VARIANT child, BSTR* description)
{
    return connected() ? standard_->get_accDescription(child, description) : CO_E_OBJNOTCONNECTED;
}

HRESULT PlatformAccessible::get_accRole(VARIANT child, VARIANT* role)
{
    return connected() ? standard_->get_accRole(child, role) : CO_E_OBJNOTCONNECTED;
}

HRESULT PlatformAccessible::get_accState(VARIANT child, VARIANT* state)
{
    return connected() ? standard_->get_accState(child, state) : CO_E_OBJNOTCONNECTED;
}

HRESULT PlatformAccessible::get_accHelp(VARIANT child, BSTR* help)
{
    return connected() ? standard_->get_accHelp(child, help) : CO_E_OBJNOTCONNECTED;
}

HRESULT PlatformAccessible::get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic)
{
    return connected() ? standard_->get_accHelpTopic(file, child, topic) : CO_E_OBJNOTCONNECTED;
}

HRESULT PlatformAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut)
{
    return connected() ? standard_->get_accKeyboardShortcut(child, shortcut) : CO_E_OBJNOTCONNECTED;
}

HRESULT PlatformAccessible::get_accFocus(VARIANT* focus)
{
    return connected() ? standard_->get_accFocus(focus) : CO_E_OBJNOTCONNECTED;
}

HRESULT PlatformAccessible::get_accSelection(VARIANT* selection)
{
    return connected() ? standard_->get_accSelection(selection) : CO_E_OBJNOTCONNECTED;
}

HRESULT PlatformAccessible::get_accDefaultAction(VARIANT child, BSTR* action)
{
    return connected() ? standard_->get_accDefaultAction(child, action) : CO_E_OBJNOTCONNECTED;
}

HRESULT PlatformAccessible::accSelect(LONG flags, VARIANT child)
{
    return connected() ? standard_->accSelect(flags, child) : CO_E_OBJNOTCONNECTED;
}

HRESULT PlatformAccessible::accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT child)
{
    return connected() ? standard_->accLocation(left, top, width, height, child)
                       : CO_E_OBJNOTCONNECTED;
}

HRESULT PlatformAccessible::accNavigate(LONG direction, VARIANT start, VARIANT* end)
{
    return connected() ? standard_->accNavigate(direction, start, end) : CO_E_OBJNOTCONNECTED;
}

HRESULT PlatformAccessible::accHitTest(LONG x, LONG y, VARIANT* child)
{
    return connected() ? standard_->accHitTest(x, y, child) : CO_E_OBJNOTCONNECTED;
}

HRESULT PlatformAccessible::accDoDefaultAction(VARIANT child)
{
    return connected() ? standard_->accDoDefaultAction(child) : CO_E_OBJNOTCONNECTED;
}

HRESULT PlatformAccessible::put_accName(VARIANT child, BSTR name)
{
    return connected() ? standard_->put_accName(child, name) : CO_E_OBJNOTCONNECTED;
}

HRESULT PlatformAccessible::put_accValue(VARIANT child, BSTR value)
{
    return connected() ? standard_->put_accValue(child, value) : CO_E_OBJNOTCONNECTED;
}

bool PlatformAccessible::isSelf(const VARIANT& child)
{
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

HRESULT PlatformAccessible::answerText(std::string_view text, BSTR* answer)
{
    if (answer == nullptr) {
        return E_POINTER;
    }
    const std::wstring wide = display::wideText(text);
    *answer = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    return *answer != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT PlatformAccessible::answerNumber(LONG number, VARIANT* answer)
{
    if (answer == nullptr) {
        return E_POINTER;
    }
    VariantInit(answer);
    answer->vt = VT_I4;
    answer->lVal = number;
    return S_OK;
}

}  // namespace app
