# The builds that run as projects of their own inside the main tree, all in
# one place: the plug-in for each architecture, the payload-list tool, the
# native rules for the fast tests, the fuzz targets, and the 64-bit twin.
#
# Each one is built again only when one of its inputs changes: the files
# below the folders it draws from (new and deleted files included, through
# the glob that CMake checks on every build), the files named in DEPENDS and
# the arguments it is configured with. Its own build then redoes only what
# changed.

include(ExternalProject)

# external_build(NAME SOURCE_DIR dir BINARY_DIR dir INPUTS folder...
#                [CMAKE_ARGS args...] [DEPENDS targets-or-files...] [BYPRODUCTS files...])
# INPUTS are folders of the source tree; DEPENDS names targets of this tree
# (built first) or files (watched).
function(external_build name)
  cmake_parse_arguments(PARSE_ARGV 1 ext "" "SOURCE_DIR;BINARY_DIR" "INPUTS;CMAKE_ARGS;DEPENDS;BYPRODUCTS")
  set(globs)
  foreach(folder IN LISTS ext_INPUTS)
    list(APPEND globs ${CMAKE_SOURCE_DIR}/${folder}/*)
  endforeach()
  file(GLOB_RECURSE inputs CONFIGURE_DEPENDS LIST_DIRECTORIES false ${globs})
  # The fuzzers' committed seeds are read by the tests, not built; Python's
  # caches come and go with every run of a script.
  list(FILTER inputs EXCLUDE REGEX "/fuzz/corpus/|/__pycache__/")
  set(targets)
  set(files)
  foreach(dep IN LISTS ext_DEPENDS)
    if(TARGET ${dep})
      list(APPEND targets ${dep})
    else()
      list(APPEND files ${dep})
    endif()
  endforeach()
  ExternalProject_Add(${name}
    SOURCE_DIR ${ext_SOURCE_DIR}
    BINARY_DIR ${ext_BINARY_DIR}
    CMAKE_ARGS ${ext_CMAKE_ARGS}
    INSTALL_COMMAND ""
    DEPENDS ${targets}
    BUILD_BYPRODUCTS ${ext_BYPRODUCTS})
  ExternalProject_Add_StepDependencies(${name} build ${inputs} ${files})
endfunction()

# The plug-in, for 32-bit and for 64-bit hosts.
set(PLUGIN32 ${CMAKE_BINARY_DIR}/plugin-x86/iRelief.8bf)
set(PLUGIN64 ${CMAKE_BINARY_DIR}/plugin-x64/iRelief.8bf)
foreach(arch x86 x64)
  if(arch STREQUAL x86)
    set(chain i686)
  else()
    set(chain x86_64)
  endif()
  external_build(plugin_${arch}
    SOURCE_DIR ${CMAKE_SOURCE_DIR}/plugin
    BINARY_DIR ${CMAKE_BINARY_DIR}/plugin-${arch}
    INPUTS plugin cmake
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/toolchain-${chain}.cmake
               -DCMAKE_BUILD_TYPE=Release -DPROJECT_ROOT=${CMAKE_SOURCE_DIR}
               -DPRODUCT_VERSION=${PROJECT_VERSION}
    # Of the rest of the tree the filter takes only the lean runtime.
    DEPENDS ${CMAKE_SOURCE_DIR}/common/lean_runtime.cpp
    BYPRODUCTS ${CMAKE_BINARY_DIR}/plugin-${arch}/iRelief.8bf)
endforeach()
add_custom_target(plugins DEPENDS plugin_x86 plugin_x64)
if(RELEASE_SIGNING)
  # A release (scripts/release.sh) embeds the plug-ins as scripts/sign.sh
  # leaves them: signed when the environment names a certificate.
  set(built32 ${PLUGIN32})
  set(built64 ${PLUGIN64})
  set(PLUGIN32 ${CMAKE_BINARY_DIR}/signed/x86/iRelief.8bf)
  set(PLUGIN64 ${CMAKE_BINARY_DIR}/signed/x64/iRelief.8bf)
  add_custom_target(signed_plugins
    COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/sign.sh ${built32} ${PLUGIN32} "iRelief filter plug-in for 32-bit hosts"
    COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/sign.sh ${built64} ${PLUGIN64} "iRelief filter plug-in for 64-bit hosts"
    BYPRODUCTS ${PLUGIN32} ${PLUGIN64} VERBATIM)
  add_dependencies(signed_plugins plugin_x86 plugin_x64)
  add_dependencies(plugins signed_plugins)
endif()

# The reader of payload lists, natively, from the installer's own name rules.
set(PAYLOAD_TOOL ${CMAKE_BINARY_DIR}/payload-tool/payload-list)
external_build(payload_tool
  SOURCE_DIR ${CMAKE_SOURCE_DIR}/payload/tool
  BINARY_DIR ${CMAKE_BINARY_DIR}/payload-tool
  INPUTS payload common
  CMAKE_ARGS -DCMAKE_CXX_COMPILER=g++ -DCMAKE_BUILD_TYPE=Release
  BYPRODUCTS ${PAYLOAD_TOOL})

# The rules again, natively, for the fast tests.
set(RULE_FOLDERS common app payload discovery jui plugin cmake)
external_build(native_rules
  SOURCE_DIR ${CMAKE_SOURCE_DIR}/tests/native
  BINARY_DIR ${CMAKE_BINARY_DIR}/native
  INPUTS ${RULE_FOLDERS} tests/native tests/unit
  CMAKE_ARGS -DCMAKE_CXX_COMPILER=g++ -DCMAKE_BUILD_TYPE=Debug)

# The same rules under libFuzzer, with clang.
external_build(fuzzers
  SOURCE_DIR ${CMAKE_SOURCE_DIR}/fuzz
  BINARY_DIR ${CMAKE_BINARY_DIR}/fuzz
  INPUTS ${RULE_FOLDERS} fuzz
  CMAKE_ARGS -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug)

# The 64-bit twin: the whole tree again with the other toolchain, embedding
# the same plug-in builds and payload. The main tree's payload.rc is written
# again whenever the payload list or a file it names changes.
set(WIN64_DIR ${CMAKE_BINARY_DIR}/win64)
file(GLOB root_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/*.txt)
external_build(win64
  SOURCE_DIR ${CMAKE_SOURCE_DIR}
  BINARY_DIR ${WIN64_DIR}
  INPUTS app common discovery jui payload res plugin cmake tests bench scripts
  CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/toolchain-x86_64.cmake
             -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE} -DWIN64_CHILD=ON -DBUILD_TESTING=OFF
             -DPLUGIN32=${PLUGIN32} -DPLUGIN64=${PLUGIN64}
             -DPAYLOAD_LIST=${PAYLOAD_LIST} -DPAYLOAD_TOOL=${PAYLOAD_TOOL}
  DEPENDS plugins payload_tool ${root_files} ${PLUGIN32} ${PLUGIN64} ${PAYLOAD_TOOL} ${PAYLOAD_LIST}
          ${CMAKE_BINARY_DIR}/res/payload.rc)
