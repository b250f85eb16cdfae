// Functions of the system libraries that start-up does not need: the shell,
// COM, OLE Automation and accessibility. The installer does not import them; each library
// is loaded from the system folder on its first use (LoadSystemLibrary), and
// its functions are looked up once, here. A library that cannot be loaded,
// or lacks one of the functions, is reported as missing (null), and the
// caller goes without the feature.
//
// To use another function: add a member to its library's table and one line
// to that library's lookup list in SystemApi.cpp.
#pragma once
#include <windows.h>
#include <objbase.h>
#include <oleacc.h>
#include <oleauto.h>
#include <shellapi.h>
#include <shlobj.h>

struct ComApi {  // ole32.dll
  decltype(&::CoInitializeEx) CoInitializeEx;
  decltype(&::CoUninitialize) CoUninitialize;
  decltype(&::CoCreateInstance) CoCreateInstance;
  decltype(&::CoTaskMemFree) CoTaskMemFree;
};

struct AutomationApi {  // oleaut32.dll
  decltype(&::SysAllocString) SysAllocString;
  decltype(&::SysFreeString) SysFreeString;
};

struct AccessibilityApi {  // oleacc.dll
  decltype(&::LresultFromObject) LresultFromObject;
  decltype(&::CreateStdAccessibleObject) CreateStdAccessibleObject;
};

struct ShellApi {  // shell32.dll
  decltype(&::SHBrowseForFolderA) SHBrowseForFolderA;
  decltype(&::SHGetPathFromIDListA) SHGetPathFromIDListA;
  decltype(&::ShellExecuteA) ShellExecuteA;
};

// Each loads its library on the first call; null when it is missing.
const ComApi* ComFunctions();
const AutomationApi* AutomationFunctions();
const AccessibilityApi* AccessibilityFunctions();
const ShellApi* ShellFunctions();
