#include "AccessibleView.h"

namespace {

// Spelled out: the import library's IID_IAccessible resolves to a thunk.
const IID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

std::string Narrow(BSTR text) {
  if (!text) return "";
  char buffer[512] = "";
  WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, sizeof buffer, nullptr, nullptr);
  buffer[sizeof buffer - 1] = '\0';
  SysFreeString(text);
  return buffer;
}

VARIANT Id(long id) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

AccessibleChild Describe(IAccessible* object, long id) {
  AccessibleChild child;
  BSTR name = nullptr;
  if (object->get_accName(Id(id), &name) == S_OK) child.name = Narrow(name);
  VARIANT value;
  VariantInit(&value);
  if (SUCCEEDED(object->get_accRole(Id(id), &value)) && value.vt == VT_I4) child.role = value.lVal;
  VariantClear(&value);
  if (SUCCEEDED(object->get_accState(Id(id), &value)) && value.vt == VT_I4) child.state = value.lVal;
  VariantClear(&value);
  long left = 0, top = 0, width = 0, height = 0;
  if (SUCCEEDED(object->accLocation(&left, &top, &width, &height, Id(id))))
    child.location = {left, top, left + width, top + height};
  return child;
}

}  // namespace

AccessibleView::AccessibleView(HWND window) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  status_ = AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), kIidAccessible,
                                       reinterpret_cast<void**>(&object_));
  if (FAILED(status_)) object_ = nullptr;
}

AccessibleView::~AccessibleView() {
  if (object_) object_->Release();
  CoUninitialize();
}

std::string AccessibleView::Name() const {
  if (!object_) return "";
  BSTR name = nullptr;
  if (object_->get_accName(Id(CHILDID_SELF), &name) != S_OK) return "";
  return Narrow(name);
}

std::vector<AccessibleChild> AccessibleView::Children() const {
  std::vector<AccessibleChild> children;
  if (!object_) return children;
  long count = 0;
  if (FAILED(object_->get_accChildCount(&count)) || count <= 0 || count > 64) return children;
  std::vector<VARIANT> found(static_cast<std::size_t>(count));
  long obtained = 0;
  if (FAILED(AccessibleChildren(object_, 0, count, found.data(), &obtained))) return children;
  for (long i = 0; i < obtained; ++i) {
    VARIANT& v = found[static_cast<std::size_t>(i)];
    if (v.vt == VT_I4) {
      children.push_back(Describe(object_, v.lVal));
    } else if (v.vt == VT_DISPATCH && v.pdispVal) {
      IAccessible* own = nullptr;
      if (SUCCEEDED(v.pdispVal->QueryInterface(kIidAccessible, reinterpret_cast<void**>(&own))) && own) {
        AccessibleChild child = Describe(own, CHILDID_SELF);
        child.isWindow = true;
        children.push_back(child);
        own->Release();
      }
    }
    VariantClear(&v);
  }
  return children;
}

AccessibleChild AccessibleView::Child(const std::string& name) const {
  for (const AccessibleChild& child : Children())
    if (child.name == name) return child;
  return AccessibleChild{};
}

std::string AccessibleView::Focus() const {
  if (!object_) return "";
  VARIANT focus;
  VariantInit(&focus);
  if (FAILED(object_->get_accFocus(&focus))) return "";
  std::string result;
  if (focus.vt == VT_I4 && focus.lVal == CHILDID_SELF)
    result = "<window>";
  else if (focus.vt == VT_I4)
    result = Describe(object_, focus.lVal).name;
  else if (focus.vt == VT_DISPATCH)
    result = "<drop-down>";
  VariantClear(&focus);
  return result;
}

std::string StateText(long state) {
  static const struct {
    long bit;
    const char* name;
  } kStates[] = {
      {STATE_SYSTEM_UNAVAILABLE, "unavailable"}, {STATE_SYSTEM_FOCUSED, "focused"},
      {STATE_SYSTEM_PRESSED, "pressed"},         {STATE_SYSTEM_CHECKED, "checked"},
      {STATE_SYSTEM_INVISIBLE, "invisible"},     {STATE_SYSTEM_FOCUSABLE, "focusable"},
      {STATE_SYSTEM_LINKED, "linked"},           {STATE_SYSTEM_TRAVERSED, "traversed"},
  };
  std::string text;
  for (const auto& s : kStates) {
    if (!(state & s.bit)) continue;
    if (!text.empty()) text += "|";
    text += s.name;
  }
  return text.empty() ? "normal" : text;
}
