#include "jui/AccessibilityLibrary.h"

#include "common/SystemLibrary.h"

const IID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

namespace {

template <typename Function>
bool Find(HMODULE module, const char* name, Function* function) {
  FARPROC address = module ? GetProcAddress(module, name) : nullptr;
  *function = reinterpret_cast<Function>(reinterpret_cast<void*>(address));
  return address != nullptr;
}

AccessibilityFunctions Functions;
int Tried;      // the look-up runs once
int Available;  // and found everything

}  // namespace

const AccessibilityFunctions* AccessibilityLibrary() {
  if (!Tried) {
    Tried = 1;
    HMODULE oleacc = LoadSystemLibrary("oleacc.dll");
    HMODULE oleaut = LoadSystemLibrary("oleaut32.dll");
    HMODULE ole = LoadSystemLibrary("ole32.dll");
    bool found = Find(oleacc, "LresultFromObject", &Functions.LresultFromObject);
    found = Find(oleacc, "CreateStdAccessibleObject", &Functions.CreateStdAccessibleObject) && found;
    found = Find(oleaut, "SysAllocString", &Functions.SysAllocString) && found;
    found = Find(ole, "CoInitializeEx", &Functions.CoInitializeEx) && found;
    Available = found ? 1 : 0;
  }
  return Available ? &Functions : nullptr;
}
