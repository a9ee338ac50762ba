# The Windows resources of the modules: the version, and the pictures the windows show.
#
# A module gets one resource script, which includes the parts: the linker keeps the
# resources of only one compiled script, so two would lose the version or the pictures.
function(morvek_add_resource_script target rc depends)
  get_property(scripts TARGET ${target} PROPERTY MORVEK_RESOURCE_SCRIPTS)
  get_property(deps TARGET ${target} PROPERTY MORVEK_RESOURCE_DEPENDS)
  list(APPEND scripts ${rc})
  list(APPEND deps ${rc} ${depends})
  set_property(TARGET ${target} PROPERTY MORVEK_RESOURCE_SCRIPTS "${scripts}")
  set_property(TARGET ${target} PROPERTY MORVEK_RESOURCE_DEPENDS "${deps}")
  set(text "")
  foreach(script IN LISTS scripts)
    string(APPEND text "#include \"${script}\"\n")
  endforeach()
  set(all ${CMAKE_CURRENT_BINARY_DIR}/${target}-resources.rc)
  file(CONFIGURE OUTPUT ${all} CONTENT "${text}")
  list(LENGTH scripts count)
  if(count EQUAL 1)
    target_sources(${target} PRIVATE ${all})
  endif()
  set_source_files_properties(${all} PROPERTIES OBJECT_DEPENDS "${deps}")
endfunction()
#
# morvek_version_resource(TARGET DESCRIPTION): gives a Windows DLL the project's version
# resource (Properties > Details in the file manager, and what the product information shows).
function(morvek_version_resource target description)
  if(NOT WIN32)
    return()
  endif()
  set(MORVEK_RC_NAME ${target})
  set(MORVEK_RC_FILE ${target}.dll)
  set(MORVEK_RC_DESCRIPTION "${description}")
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}-version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/Version.rc.in ${rc} @ONLY)
  morvek_add_resource_script(${target} ${rc} "")
endfunction()

# morvek_picture_resources(TARGET): the progress clip and the tree icons (resources/), for
# the module whose windows load them: the provider DLL, and a test program that shows the
# windows itself.
function(morvek_picture_resources target)
  if(NOT WIN32)
    return()
  endif()
  set(MORVEK_RESOURCES ${PROJECT_SOURCE_DIR}/resources)
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}-pictures.rc)
  configure_file(${PROJECT_SOURCE_DIR}/resources/Resources.rc.in ${rc} @ONLY)
  morvek_add_resource_script(${target} ${rc}
    "${MORVEK_RESOURCES}/progress.avi;${MORVEK_RESOURCES}/settings-cvs.ico;${MORVEK_RESOURCES}/settings-tools.ico;${MORVEK_RESOURCES}/settings-comments.ico;${MORVEK_RESOURCES}/settings-about.ico")
endfunction()
