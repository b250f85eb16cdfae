#include "common/SystemApi.h"

#include "common/SystemLibrary.h"

namespace {

// One function of a table: its exported name and where its address goes.
struct Lookup {
  const char* name;
  FARPROC* slot;
};

template <typename Fn>
Lookup Entry(const char* name, Fn& slot) {
  return {name, reinterpret_cast<FARPROC*>(&slot)};
}

enum class State { NotTried, Loaded, Missing };

// Loads library once and fills every slot; Missing when any is absent.
template <int N>
State Load(State& state, const char* library, const Lookup (&lookups)[N]) {
  if (state != State::NotTried) return state;
  state = State::Missing;
  HMODULE module = LoadSystemLibrary(library);
  if (!module) return state;
  for (const Lookup& lookup : lookups) {
    *lookup.slot = GetProcAddress(module, lookup.name);
    if (!*lookup.slot) return state;
  }
  // The library stays loaded for the rest of the run.
  state = State::Loaded;
  return state;
}

ComApi com;
AutomationApi automation;
AccessibilityApi accessibility;
ShellApi shell;
State comState, automationState, accessibilityState, shellState;

}  // namespace

const ComApi* ComFunctions() {
  const Lookup lookups[] = {
      Entry("CoInitializeEx", com.CoInitializeEx),
      Entry("CoUninitialize", com.CoUninitialize),
      Entry("CoCreateInstance", com.CoCreateInstance),
      Entry("CoTaskMemFree", com.CoTaskMemFree),
  };
  return Load(comState, "ole32.dll", lookups) == State::Loaded ? &com : nullptr;
}

const AutomationApi* AutomationFunctions() {
  const Lookup lookups[] = {
      Entry("SysAllocString", automation.SysAllocString),
      Entry("SysFreeString", automation.SysFreeString),
  };
  return Load(automationState, "oleaut32.dll", lookups) == State::Loaded ? &automation : nullptr;
}

const AccessibilityApi* AccessibilityFunctions() {
  const Lookup lookups[] = {
      Entry("LresultFromObject", accessibility.LresultFromObject),
      Entry("CreateStdAccessibleObject", accessibility.CreateStdAccessibleObject),
  };
  return Load(accessibilityState, "oleacc.dll", lookups) == State::Loaded ? &accessibility : nullptr;
}

const ShellApi* ShellFunctions() {
  const Lookup lookups[] = {
      Entry("SHBrowseForFolderA", shell.SHBrowseForFolderA),
      Entry("SHGetPathFromIDListA", shell.SHGetPathFromIDListA),
      Entry("ShellExecuteA", shell.ShellExecuteA),
  };
  return Load(shellState, "shell32.dll", lookups) == State::Loaded ? &shell : nullptr;
}
