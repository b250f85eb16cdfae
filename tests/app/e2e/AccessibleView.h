#pragma once
// The installer's window as a screen reader finds it, from this process:
// AccessibleObjectFromWindow on its client area, then its children.
#include <windows.h>
#include <oleacc.h>

#include <string>
#include <vector>

struct AccessibleChild {
  std::string name;
  long role = 0;
  long state = 0;
  bool isWindow = false;  // a control with an object of its own (the drop-down)
  RECT location{};        // accLocation, in screen coordinates
};

class AccessibleView {
 public:
  explicit AccessibleView(HWND window);
  ~AccessibleView();
  AccessibleView(const AccessibleView&) = delete;
  AccessibleView& operator=(const AccessibleView&) = delete;

  // The HRESULT of AccessibleObjectFromWindow.
  HRESULT Status() const { return status_; }
  bool Ok() const { return object_ != nullptr; }

  std::string Name() const;  // the window's own name
  std::vector<AccessibleChild> Children() const;
  // The child with this name, or one with an empty name and role 0.
  AccessibleChild Child(const std::string& name) const;
  // Name of the focused child; "<drop-down>" for the drop-down's own object,
  // "<window>" for the window itself, "" for none.
  std::string Focus() const;

 private:
  IAccessible* object_ = nullptr;
  HRESULT status_ = E_FAIL;
};

// "checked|focusable|..." for a failure message.
std::string StateText(long state);
