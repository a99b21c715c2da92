# Shared part of the two mingw-w64 toolchain files. The win32 thread model
# links no threads library: the program has one thread, and the posix model's
# libwinpthread would bring imports that Windows 2000 and XP lack
# (GetTickCount64, AddVectoredExceptionHandler).
set(CMAKE_C_COMPILER ${LUMORA_MINGW_TRIPLE}-gcc-win32)
set(CMAKE_CXX_COMPILER ${LUMORA_MINGW_TRIPLE}-g++-win32)
set(CMAKE_RC_COMPILER ${LUMORA_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${LUMORA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
