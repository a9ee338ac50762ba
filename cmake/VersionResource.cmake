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
