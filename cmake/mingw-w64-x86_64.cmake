# Cross build for 64-bit Windows with mingw-w64 on Debian.
#
# The -posix compilers use winpthreads, so std::thread and std::mutex work (the -win32
# ones of GCC 12 lack them). Everything links the runtime statically so that the DLL and
# the programs need nothing but Windows system DLLs. Programs built here run under Wine
# through scripts/wine-run.sh, which keeps the Wine prefix inside the build folder.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MORVEK_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MORVEK_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MORVEK_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${MORVEK_MINGW}-windres)
set(CMAKE_AR ${MORVEK_MINGW}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${MORVEK_MINGW}-ranlib CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${MORVEK_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

get_filename_component(_morvek_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${_morvek_root}/scripts/wine-run.sh" CACHE FILEPATH
    "Runs Windows programs under Wine")
