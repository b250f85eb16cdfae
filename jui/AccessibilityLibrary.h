#pragma once
// The system's accessibility functions, looked up once, on first use, from
// oleacc.dll, oleaut32.dll and ole32.dll in the system folder. The program
// does not import these libraries: a user without assistive technology never
// loads them.
#include <windows.h>
#include <oleacc.h>

struct AccessibilityFunctions {
  LRESULT(WINAPI* LresultFromObject)(REFIID iid, WPARAM wParam, LPUNKNOWN object);
  HRESULT(WINAPI* CreateStdAccessibleObject)(HWND window, LONG objectId, REFIID iid, void** object);
  BSTR(WINAPI* SysAllocString)(const OLECHAR* text);
  HRESULT(WINAPI* CoInitializeEx)(LPVOID reserved, DWORD model);
};

// The functions, or null when any of them is missing.
const AccessibilityFunctions* AccessibilityLibrary();

// IAccessible's interface id, spelled out: the import library's symbol for it
// is data inside oleacc.dll, which this program does not import.
extern const IID kIidAccessible;
