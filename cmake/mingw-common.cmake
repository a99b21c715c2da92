# Shared part of the two mingw-w64 toolchain files. The posix thread model
# gives GoogleTest the std::mutex it needs; the program itself has one thread
# and links winpthread statically, so it needs no extra DLL.
set(CMAKE_C_COMPILER ${LUMORA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LUMORA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${LUMORA_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${LUMORA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# CTest runs every Windows test executable through Wine, in the project's own
# prefix (see scripts/wine-run.sh).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
