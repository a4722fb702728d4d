# Cross-compiles the Qt-free part (configure with -DQUELNA_GUI=OFF) for 64-bit Windows with
# Debian's MinGW-w64, the POSIX-threads variant (std::thread and std::mutex need it).
# Everything is linked statically, so the .exe files run without any DLL beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUELNA_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QUELNA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUELNA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QUELNA_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUELNA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
