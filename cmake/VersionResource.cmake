# The Windows resources of the modules: the version, and the pictures the windows show.
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
  target_sources(${target} PRIVATE ${rc})
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
  target_sources(${target} PRIVATE ${rc})
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS
    "${MORVEK_RESOURCES}/progress.avi;${MORVEK_RESOURCES}/settings-cvs.ico;${MORVEK_RESOURCES}/settings-tools.ico;${MORVEK_RESOURCES}/settings-comments.ico;${MORVEK_RESOURCES}/settings-about.ico")
endfunction()
