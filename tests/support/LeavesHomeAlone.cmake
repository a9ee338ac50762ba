# tests/support/LeavesHomeAlone.cmake - runs test programs as a person would by hand, with
# HOME an empty folder and no XDG folders set, and fails when any of them wrote into it:
# tests make their own user and never touch the real one's files.
#
#   cmake -DPROGRAMS=a|b|... -DHOME_FOLDER=DIR -P LeavesHomeAlone.cmake
# The machine hive is pointed into the same folder, so that writing it unasked shows too.
string(REPLACE "|" ";" programs "${PROGRAMS}")
set(failures "")
foreach(program ${programs})
  get_filename_component(name ${program} NAME)
  file(REMOVE_RECURSE ${HOME_FOLDER})
  file(MAKE_DIRECTORY ${HOME_FOLDER})
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=XDG_CONFIG_HOME --unset=XDG_DATA_HOME
            --unset=XDG_CACHE_HOME --unset=MORVEK_APPDATA_FOLDER "HOME=${HOME_FOLDER}"
            "MORVEK_MACHINE_REGISTRY=${HOME_FOLDER}/machine.reg" ${program} --gtest_brief=1
    RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
  file(GLOB_RECURSE written LIST_DIRECTORIES true RELATIVE ${HOME_FOLDER} ${HOME_FOLDER}/*)
  if(written)
    list(JOIN written ", " list)
    string(APPEND failures "\n  ${name} (exit status ${status}) wrote: ${list}")
  endif()
endforeach()
file(REMOVE_RECURSE ${HOME_FOLDER})
if(failures)
  message(FATAL_ERROR "test programs run by hand wrote into the user's home:${failures}")
endif()
