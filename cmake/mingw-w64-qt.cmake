# The MinGW-w64 toolchain for the whole program: Qt and libqrencode come from the folder
# scripts/qt-windows built them into, given as QUELNA_WINDOWS_PREFIX (cache or environment);
# Qt's moc, rcc and uic are the Linux Qt's.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)

if(NOT QUELNA_WINDOWS_PREFIX)
    set(QUELNA_WINDOWS_PREFIX "$ENV{QUELNA_WINDOWS_PREFIX}")
endif()
if(NOT QUELNA_WINDOWS_PREFIX)
    message(FATAL_ERROR "QUELNA_WINDOWS_PREFIX: the folder printed by scripts/qt-windows")
endif()
set(QUELNA_WINDOWS_PREFIX "${QUELNA_WINDOWS_PREFIX}" CACHE PATH "Qt and libraries built for Windows")
# The compiler checks configure projects of their own, which see only the environment.
set(ENV{QUELNA_WINDOWS_PREFIX} "${QUELNA_WINDOWS_PREFIX}")
list(APPEND CMAKE_FIND_ROOT_PATH ${QUELNA_WINDOWS_PREFIX})
list(APPEND CMAKE_PREFIX_PATH ${QUELNA_WINDOWS_PREFIX})
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake) # Debian's multiarch folder
# pkg-config answers for the Windows libraries only, never for Linux's.
set(ENV{PKG_CONFIG_LIBDIR} ${QUELNA_WINDOWS_PREFIX}/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")
