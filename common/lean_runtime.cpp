// The C++ runtime entry points the installer and the plug-in use, without the
// exception machinery of the static libstdc++: its operator new throws
// std::bad_alloc, which brings in the unwinder, the thread library it
// locks with, and the verbose terminate handler with its demangler (about
// 115 KB of the 32-bit exe, 230 KB of the plug-in). Built into the
// installer and the plug-in only; the test programs keep the full runtime.
//
// Running out of memory ends the process, as an uncaught std::bad_alloc
// would; the installer allocates only its few widgets, once, at start, and
// the plug-in only its small preview pictures (the image itself stays in
// the host's buffers).
#include <cstdlib>
#include <new>

void* operator new(std::size_t size) {
  void* block = std::malloc(size ? size : 1);
  if (!block) std::abort();
  return block;
}

void* operator new[](std::size_t size) { return operator new(size); }

void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

// A call through a pure virtual slot is a fault of the program itself.
extern "C" void __cxa_pure_virtual() { std::abort(); }

// The library's own checks (a container asked for more than it can hold)
// end the process as their uncaught exception would, without bringing in
// the exception machinery.
namespace std {
[[noreturn]] void __throw_length_error(const char*) { std::abort(); }
[[noreturn]] void __throw_bad_alloc() { std::abort(); }
[[noreturn]] void __throw_bad_array_new_length() { std::abort(); }
}  // namespace std
