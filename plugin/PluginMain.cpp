// The filter's entry point. Hosts call it with a selector and a filter record.
#include <cstdint>

extern "C" __declspec(dllexport) void PluginMain(short selector, void* record, std::intptr_t* data, short* result) {
  (void)selector;
  (void)record;
  (void)data;
  if (result) *result = 0;
}
