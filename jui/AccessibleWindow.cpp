#include "jui/AccessibleWindow.h"

#include "common/ComApartment.h"
#include "common/SystemApi.h"
#include "common/bounded.h"
#include "jui/JElement.h"

namespace {

// IAccessible's interface id, spelled out: the import library's symbol for it
// is data inside oleacc.dll, which this program does not import.
const IID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

constexpr int kTextCapacity = 256;  // longest text handed out, terminator included

// A BSTR copy of an ANSI text; S_FALSE and null for an empty one.
HRESULT MakeString(const char* text, BSTR* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!text || !text[0]) return S_FALSE;
  const AutomationApi* automation = AutomationFunctions();
  if (!automation) return E_FAIL;
  wchar_t wide[kTextCapacity];
  // At most kTextCapacity wide characters, terminator included; a longer text is cut.
  int length = MultiByteToWideChar(CP_ACP, 0, text, -1, wide, kTextCapacity);
  if (length <= 0) {
    length = MultiByteToWideChar(CP_ACP, 0, text, kTextCapacity - 1, wide, kTextCapacity - 1);
    if (length <= 0) return S_FALSE;
    wide[length] = L'\0';
  }
  *out = automation->SysAllocString(wide);
  return *out ? S_OK : E_OUTOFMEMORY;
}

void SetLong(VARIANT* v, LONG value) {
  v->vt = VT_I4;
  v->lVal = value;
}

void SetEmpty(VARIANT* v) { v->vt = VT_EMPTY; }

// The system's object for one of the window's controls: its client area,
// which carries the control's own role (a drop-down's is "combo box").
IAccessible* ControlObject(HWND control) {
  const AccessibilityApi* library = AccessibilityFunctions();
  IAccessible* object = nullptr;
  if (!library || !control) return nullptr;
  if (FAILED(library->CreateStdAccessibleObject(control, OBJID_CLIENT, kIidAccessible,
                                                reinterpret_cast<void**>(&object))))
    return nullptr;
  return object;
}

VARIANT Self() {
  VARIANT self;
  SetLong(&self, CHILDID_SELF);
  return self;
}

}  // namespace

JAccessibleWindow::JAccessibleWindow(JFocusPlaces* places, HWND window, IAccessible* standard)
    : references_(1), places_(places), window_(window), standard_(standard) {}

// --- IUnknown and IDispatch ------------------------------------------------

HRESULT STDMETHODCALLTYPE JAccessibleWindow::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (IsEqualIID(iid, __uuidof(IUnknown)) || IsEqualIID(iid, __uuidof(IDispatch)) || IsEqualIID(iid, kIidAccessible)) {
    *object = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
  }
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE JAccessibleWindow::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

// The panel holds the first reference for the whole run, so the count never reaches 0.
ULONG STDMETHODCALLTYPE JAccessibleWindow::Release() {
  const LONG left = InterlockedDecrement(&references_);
  return static_cast<ULONG>(left > 0 ? left : 0);
}

HRESULT STDMETHODCALLTYPE JAccessibleWindow::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE JAccessibleWindow::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE JAccessibleWindow::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE JAccessibleWindow::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                                    UINT*) {
  return E_NOTIMPL;
}

// --- children ----------------------------------------------------------------

bool JAccessibleWindow::IsSelf(const VARIANT& child) const { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

bool JAccessibleWindow::ValidChild(const VARIANT& child) const {
  return child.vt == VT_I4 && child.lVal >= 1 && child.lVal <= places_->Count();
}

JElement* JAccessibleWindow::Element(const VARIANT& child) const {
  return ValidChild(child) ? places_->Place(child.lVal - 1).element : nullptr;
}

HWND JAccessibleWindow::Control(const VARIANT& child) const {
  return ValidChild(child) ? places_->Place(child.lVal - 1).control : nullptr;
}

HRESULT STDMETHODCALLTYPE JAccessibleWindow::get_accParent(IDispatch** parent) {
  return standard_->get_accParent(parent);
}

HRESULT STDMETHODCALLTYPE JAccessibleWindow::get_accChildCount(LONG* count) {
  if (!count) return E_POINTER;
  *count = places_->Count();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE JAccessibleWindow::get_accChild(VARIANT child, IDispatch** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (!ValidChild(child)) return E_INVALIDARG;
  if (HWND control = Control(child)) {
    IAccessible* accessible = ControlObject(control);
    if (!accessible) return E_FAIL;
    *object = accessible;  // IAccessible is an IDispatch
    return S_OK;
  }
  return S_FALSE;  // a widget: a simple child, asked through this object
}

// Calls on a control's child id go to the control's own object.
#define FORWARD_TO_CONTROL(call)                         \
  if (HWND control = Control(child)) {                   \
    IAccessible* accessible = ControlObject(control);    \
    if (!accessible) return E_FAIL;                      \
    VARIANT self = Self();                               \
    const HRESULT result = accessible->call;             \
    accessible->Release();                               \
    return result;                                       \
  }

HRESULT STDMETHODCALLTYPE JAccessibleWindow::get_accName(VARIANT child, BSTR* name) {
  if (IsSelf(child)) return standard_->get_accName(child, name);
  FORWARD_TO_CONTROL(get_accName(self, name))
  JElement* element = Element(child);
  if (!element) return E_INVALIDARG;
  return MakeString(element->AccName(), name);
}

HRESULT STDMETHODCALLTYPE JAccessibleWindow::get_accValue(VARIANT child, BSTR* value) {
  if (IsSelf(child)) return standard_->get_accValue(child, value);
  FORWARD_TO_CONTROL(get_accValue(self, value))
  if (!Element(child)) return E_INVALIDARG;
  if (value) *value = nullptr;
  return S_FALSE;
}

HRESULT STDMETHODCALLTYPE JAccessibleWindow::get_accDescription(VARIANT child, BSTR* description) {
  if (IsSelf(child)) return standard_->get_accDescription(child, description);
  FORWARD_TO_CONTROL(get_accDescription(self, description))
  if (!Element(child)) return E_INVALIDARG;
  if (description) *description = nullptr;
  return S_FALSE;
}

HRESULT STDMETHODCALLTYPE JAccessibleWindow::get_accRole(VARIANT child, VARIANT* role) {
  if (IsSelf(child)) return standard_->get_accRole(child, role);
  FORWARD_TO_CONTROL(get_accRole(self, role))
  JElement* element = Element(child);
  if (!element) return E_INVALIDARG;
  if (!role) return E_POINTER;
  SetLong(role, element->accRole);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE JAccessibleWindow::get_accState(VARIANT child, VARIANT* state) {
  if (IsSelf(child)) return standard_->get_accState(child, state);
  FORWARD_TO_CONTROL(get_accState(self, state))
  JElement* element = Element(child);
  if (!element) return E_INVALIDARG;
  if (!state) return E_POINTER;
  SetLong(state, element->AccState());
  return S_OK;
}

HRESULT STDMETHODCALLTYPE JAccessibleWindow::get_accHelp(VARIANT child, BSTR* help) {
  if (IsSelf(child)) return standard_->get_accHelp(child, help);
  FORWARD_TO_CONTROL(get_accHelp(self, help))
  JElement* element = Element(child);
  if (!element) return E_INVALIDARG;
  // What the status rectangle shows, no more.
  char shown[kHoverTextSize];
  CopyCut(shown, static_cast<std::size_t>(element->ShownHoverLength()) + 1, element->hoverText);
  return MakeString(shown, help);
}

HRESULT STDMETHODCALLTYPE JAccessibleWindow::get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) {
  if (IsSelf(child)) return standard_->get_accHelpTopic(file, child, topic);
  if (file) *file = nullptr;
  if (topic) *topic = 0;
  return ValidChild(child) ? S_FALSE : E_INVALIDARG;
}

HRESULT STDMETHODCALLTYPE JAccessibleWindow::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
  if (IsSelf(child)) return standard_->get_accKeyboardShortcut(child, shortcut);
  if (shortcut) *shortcut = nullptr;
  return ValidChild(child) ? S_FALSE : E_INVALIDARG;
}

HRESULT STDMETHODCALLTYPE JAccessibleWindow::get_accFocus(VARIANT* child) {
  if (!child) return E_POINTER;
  SetEmpty(child);
  HWND focus = GetFocus();
  const int stop = places_->Focused();
  const JTabStop place = stop >= 0 ? places_->Place(stop) : JTabStop{nullptr, nullptr};
  if (place.element && focus == window_) {
    SetLong(child, stop + 1);
    return S_OK;
  }
  if (place.control) {
    IAccessible* accessible = ControlObject(place.control);
    if (!accessible) return E_FAIL;
    child->vt = VT_DISPATCH;
    child->pdispVal = accessible;
    return S_OK;
  }
  if (focus == window_) {
    SetLong(child, CHILDID_SELF);
    return S_OK;
  }
  return S_FALSE;
}

HRESULT STDMETHODCALLTYPE JAccessibleWindow::get_accSelection(VARIANT* children) {
  if (!children) return E_POINTER;
  SetEmpty(children);
  return S_FALSE;
}

HRESULT STDMETHODCALLTYPE JAccessibleWindow::get_accDefaultAction(VARIANT child, BSTR* action) {
  if (IsSelf(child)) return standard_->get_accDefaultAction(child, action);
  FORWARD_TO_CONTROL(get_accDefaultAction(self, action))
  JElement* element = Element(child);
  if (!element) return E_INVALIDARG;
  return MakeString(element->AccAction(), action);
}

HRESULT STDMETHODCALLTYPE JAccessibleWindow::accSelect(LONG flags, VARIANT child) {
  if (IsSelf(child)) return standard_->accSelect(flags, child);
  if (!ValidChild(child)) return E_INVALIDARG;
  if (flags != SELFLAG_TAKEFOCUS) return DISP_E_MEMBERNOTFOUND;
  const int stop = child.lVal - 1;
  if (!places_->Available(stop)) return S_FALSE;
  places_->Focus(stop);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE JAccessibleWindow::accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                                         VARIANT child) {
  if (IsSelf(child)) return standard_->accLocation(left, top, width, height, child);
  if (!left || !top || !width || !height) return E_POINTER;
  RECT box;
  if (HWND control = Control(child)) {
    GetWindowRect(control, &box);
  } else if (JElement* element = Element(child)) {
    box = element->AccBounds();
    MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&box), 2);
  } else {
    return E_INVALIDARG;
  }
  *left = box.left;
  *top = box.top;
  *width = box.right - box.left;
  *height = box.bottom - box.top;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE JAccessibleWindow::accNavigate(LONG direction, VARIANT start, VARIANT* end) {
  if (!end) return E_POINTER;
  SetEmpty(end);
  LONG target = 0;
  if (IsSelf(start)) {
    if (direction == NAVDIR_FIRSTCHILD) target = 1;
    else if (direction == NAVDIR_LASTCHILD) target = places_->Count();
    else return standard_->accNavigate(direction, start, end);
  } else if (ValidChild(start)) {
    if (direction == NAVDIR_NEXT) target = start.lVal + 1;
    else if (direction == NAVDIR_PREVIOUS) target = start.lVal - 1;
    else return DISP_E_MEMBERNOTFOUND;
  } else {
    return E_INVALIDARG;
  }
  if (target < 1 || target > places_->Count()) return S_FALSE;
  if (HWND control = places_->Place(target - 1).control) {
    IAccessible* accessible = ControlObject(control);
    if (!accessible) return E_FAIL;
    end->vt = VT_DISPATCH;
    end->pdispVal = accessible;
    return S_OK;
  }
  SetLong(end, target);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE JAccessibleWindow::accHitTest(LONG x, LONG y, VARIANT* child) {
  if (!child) return E_POINTER;
  SetEmpty(child);
  POINT at = {x, y};
  ScreenToClient(window_, &at);
  RECT client;
  GetClientRect(window_, &client);
  if (!PtInRect(&client, at)) return S_FALSE;
  for (int i = 0; i < places_->Count(); ++i) {
    const JTabStop stop = places_->Place(i);
    if (stop.control) {
      RECT box;
      GetWindowRect(stop.control, &box);
      POINT screen = {x, y};
      if (IsWindowVisible(stop.control) && PtInRect(&box, screen)) {
        IAccessible* accessible = ControlObject(stop.control);
        if (!accessible) return E_FAIL;
        child->vt = VT_DISPATCH;
        child->pdispVal = accessible;
        return S_OK;
      }
    } else if (stop.element && stop.element->visible) {
      RECT box = stop.element->AccBounds();
      if (PtInRect(&box, at)) {
        SetLong(child, i + 1);
        return S_OK;
      }
    }
  }
  SetLong(child, CHILDID_SELF);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE JAccessibleWindow::accDoDefaultAction(VARIANT child) {
  if (IsSelf(child)) return standard_->accDoDefaultAction(child);
  FORWARD_TO_CONTROL(accDoDefaultAction(self))
  JElement* element = Element(child);
  if (!element) return E_INVALIDARG;
  return element->Activate(window_) ? S_OK : DISP_E_MEMBERNOTFOUND;
}

HRESULT STDMETHODCALLTYPE JAccessibleWindow::put_accName(VARIANT, BSTR) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE JAccessibleWindow::put_accValue(VARIANT, BSTR) { return E_NOTIMPL; }

// --- WM_GETOBJECT ------------------------------------------------------------

LRESULT AnswerGetObject(JAccessibleWindow** object, JFocusPlaces* places, HWND window, WPARAM wParam) {
  const AccessibilityApi* library = AccessibilityFunctions();
  if (!library || !AutomationFunctions()) return 0;
  if (!*object) {
    // Handing the object to another process needs this thread in a COM
    // apartment; one the thread is already in serves as well.
    JoinComApartment();
    IAccessible* standard = nullptr;
    if (FAILED(library->CreateStdAccessibleObject(window, OBJID_CLIENT, kIidAccessible,
                                                  reinterpret_cast<void**>(&standard))) ||
        !standard)
      return 0;
    *object = new JAccessibleWindow(places, window, standard);
  }
  const LRESULT answer = library->LresultFromObject(kIidAccessible, wParam, *object);
  return answer > 0 ? answer : 0;
}
