// The C++ runtime entry points the installer itself uses, without the
// exception machinery of the static libstdc++: its operator new throws
// std::bad_alloc, which brings in the unwinder, the thread library it
// locks with, and the verbose terminate handler with its demangler (about
// 115 KB of the 32-bit exe). Built into the installer only; the test
// programs keep the full runtime.
//
// Running out of memory ends the process, as an uncaught std::bad_alloc
// would; the installer allocates only its few widgets, once, at start.
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
