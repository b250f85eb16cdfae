# The shipped installer is built for size: this file is the one place that
# says how. Only the installer and the libraries it links are affected; the
# test programs keep their own flags (they link the same libraries, so those
# are compiled for size for them too, which changes no behaviour).
#
# Each step and what it saved on the 32-bit exe with the default payload
# (stripped, compact artwork already in place: 393,742 bytes at -O3):
#   -Os instead of -O3                                   -19,456
#   -ffunction-sections and --gc-sections                  -2,560
#   no exception machinery: -fno-exceptions and
#     common/lean_runtime.cpp (operator new/delete,
#     __cxa_pure_virtual without libstdc++'s throwing
#     versions, so no unwinder, winpthread, demangler)   -117,248
#   -fno-asynchronous-unwind-tables (32-bit only: the
#     DWARF tables serve exceptions alone, which are gone)  -9,216
# -fdata-sections is left out: on this target it moves zero-initialised
# globals out of .bss into file bytes (+42 KB). The pixel copies and the
# registry walk spend their time in system calls, so -Os costs no speed
# that shows (bench/results.md).
if(NOT TARGET iRelief-Setup)
  return()
endif()
set(PRODUCT_SIZE_FLAGS -Os -ffunction-sections -fno-exceptions)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  # 64-bit Windows itself unwinds through every frame with the .pdata
  # tables, so the twin keeps them.
  list(APPEND PRODUCT_SIZE_FLAGS -fno-asynchronous-unwind-tables)
endif()
foreach(target iRelief-Setup discovery jui payload common rules)
  target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${PRODUCT_SIZE_FLAGS}>)
endforeach()
target_sources(iRelief-Setup PRIVATE ${CMAKE_SOURCE_DIR}/common/lean_runtime.cpp)
target_link_options(iRelief-Setup PRIVATE -Wl,--gc-sections)
