#pragma once
// What assistive technology sees of a panel's window: the window's client
// object, whose children are the places of the window's order (widgets as
// simple children with the names, roles and states they report; the
// window's own controls as their system objects). It is given the order
// as JFocusPlaces and knows nothing else of the panel.
#include <windows.h>
#include <oleacc.h>

#include "jui/FocusPlaces.h"

class JElement;

class JAccessibleWindow : public IAccessible {
 public:
  // standard: the system's client object of the window, for what the
  // window as a whole reports (its name, parent, place); owned.
  JAccessibleWindow(JFocusPlaces* places, HWND window, IAccessible* standard);

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IDispatch: not offered by name.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;
  // IAccessible
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
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override;
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override;
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override;
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override;
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

 private:
  // The widget a child id names; null for the window itself, a control or a bad id.
  JElement* Element(const VARIANT& child) const;
  // The control a child id names, or null.
  HWND Control(const VARIANT& child) const;
  bool IsSelf(const VARIANT& child) const;
  bool ValidChild(const VARIANT& child) const;

  LONG references_;
  JFocusPlaces* places_;  // not owned
  HWND window_;
  IAccessible* standard_;
};

// The answer to WM_GETOBJECT for the client area (OBJID_CLIENT): the
// window's object, made into *object on the first request. 0 when the
// system's accessibility libraries cannot be loaded; the window then gets
// the system's default answer.
LRESULT AnswerGetObject(JAccessibleWindow** object, JFocusPlaces* places, HWND window, WPARAM wParam);
