# Cross build for 64-bit Windows with Debian's mingw-w64 (the posix thread model,
# which std::thread and std::mutex need). Tests run under Wine when it is found.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(EKVIEW_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${EKVIEW_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${EKVIEW_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${EKVIEW_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${EKVIEW_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The runtime libraries are linked in, so the programs run without mingw's DLLs
# beside them (in Wine as on a Windows machine).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

find_program(EKVIEW_WINE NAMES wine64 wine)
if(EKVIEW_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${EKVIEW_WINE})
endif()
