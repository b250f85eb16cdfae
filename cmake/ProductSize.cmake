# How the shipped programs, the installer and the filter plug-in, are built:
# this file is the one place that says how. The root project and the
# plug-in's project both include it.
#
# product_options(ROOT): for everything the including project builds.
# Reproducible and self-contained: no time stamps, no build paths (ROOT and
# the build folder are cut from recorded file names), only Windows system
# DLLs imported.
macro(product_options root)
  add_compile_options(-Wall -Wextra -ffile-prefix-map=${root}/= -ffile-prefix-map=${CMAKE_BINARY_DIR}/=)
  add_link_options(-static -static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp)
endmacro()

# Small without costing speed, for both programs: no exception machinery
# (-fno-exceptions and common/lean_runtime.cpp, whose operator new and
# library checks end the process instead of throwing) and unused functions
# dropped (-ffunction-sections and --gc-sections).
set(LEAN_FLAGS -ffunction-sections -fno-exceptions)
function(lean_binary target root)
  target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${LEAN_FLAGS}>)
  target_sources(${target} PRIVATE ${root}/common/lean_runtime.cpp)
  target_link_options(${target} PRIVATE -Wl,--gc-sections)
endfunction()

# installer_for_size(): the installer is built for size besides. Only the
# installer and the libraries it links are affected; the test programs keep
# their own flags (they link the same libraries, so those are compiled for
# size for them too, which changes no behaviour).
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
function(installer_for_size)
  if(NOT TARGET iRelief-Setup)
    return()
  endif()
  set(size_flags -Os)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # 64-bit Windows itself unwinds through every frame with the .pdata
    # tables, so the twin keeps them.
    list(APPEND size_flags -fno-asynchronous-unwind-tables)
  endif()
  foreach(target discovery jui payload common rules)
    target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${size_flags} ${LEAN_FLAGS}>)
  endforeach()
  lean_binary(iRelief-Setup ${CMAKE_SOURCE_DIR})
  target_compile_options(iRelief-Setup PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${size_flags}>)
endfunction()
