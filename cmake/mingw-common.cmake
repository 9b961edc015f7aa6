# The -posix compilers: the default mingw ones lack std::mutex and std::thread.
set(CMAKE_C_COMPILER ${FENNLOW_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${FENNLOW_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${FENNLOW_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${FENNLOW_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Test executables run under wine64 (only the x86_64 build can run on this machine).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
