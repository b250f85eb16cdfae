# add_installer_resources(NAME LIST OUT_DIR): the object library NAME with
# the installer's resources and the payload of LIST. payload-list checks the
# list and writes OUT_DIR/payload.rc, which installer.rc includes; a bad list
# stops the build with payload-list's messages and no payload. Editing the
# list or any file it names rebuilds.
function(add_installer_resources name list out_dir)
  if(NOT EXISTS ${list})
    message(FATAL_ERROR "payload list ${list}: no such file")
  endif()
  set(payload_rc ${out_dir}/payload.rc)
  # The 64-bit twin checks the same list again; the main tree prints its notes.
  set(notes)
  if(WIN64_CHILD)
    set(notes --no-notes)
  endif()
  add_custom_command(OUTPUT ${payload_rc}
    COMMAND ${PAYLOAD_TOOL} rc ${notes} ${list} ${PLUGIN32} ${PLUGIN64} ${payload_rc} ${payload_rc}.d
    DEPENDS ${list} ${PAYLOAD_TOOL} ${PLUGIN32} ${PLUGIN64}
    DEPFILE ${payload_rc}.d
    COMMENT "Checking the payload list ${list}"
    VERBATIM)

  set(RES_DIR ${CMAKE_SOURCE_DIR}/res)
  set(ART_DIR ${RES_DIR}/art)
  write_version_resource(${out_dir}/version.rc ${PROJECT_VERSION} "iRelief Setup" "iRelief-Setup.exe" VFT_APP)
  four_part_version(MANIFEST_VERSION ${PROJECT_VERSION})
  set(MANIFEST_FILE ${out_dir}/installer.manifest)
  configure_file(${RES_DIR}/installer.manifest.in ${MANIFEST_FILE} @ONLY)
  configure_file(${RES_DIR}/installer.rc.in ${out_dir}/installer.rc @ONLY)
  configure_file(${ART_DIR}/sets.rc.in ${out_dir}/sets.rc @ONLY)
  file(GLOB art_files CONFIGURE_DEPENDS ${ART_DIR}/*.bmp ${ART_DIR}/*.jpk ${ART_DIR}/*.cur ${ART_DIR}/*.ico)
  add_library(${name} OBJECT ${out_dir}/installer.rc)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  set_source_files_properties(${out_dir}/installer.rc PROPERTIES
    OBJECT_DEPENDS "${PLUGIN32};${PLUGIN64};${art_files};${MANIFEST_FILE};${out_dir}/version.rc;${payload_rc};${RES_DIR}/ResourceIds.h;${out_dir}/sets.rc")
  add_dependencies(${name} plugins)
endfunction()
