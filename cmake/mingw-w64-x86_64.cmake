# Cross-building for Windows x86-64 with Debian's mingw-w64 (posix threads, for std::thread and friends).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KALVIAN_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KALVIAN_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KALVIAN_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KALVIAN_MINGW_TRIPLE}-windres)

# Libraries and headers come from the target's root (and the Qt built for it), programs from the host.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${KALVIAN_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The static Qt and the libjpeg built for Windows (scripts/windows-deps prints them), searched like the
# target's root; Qt's own programs (moc, rcc, uic) come from the host's Qt.
if(DEFINED ENV{KALVIAN_WINDOWS_PREFIX})
    set(KALVIAN_WINDOWS_PREFIX "$ENV{KALVIAN_WINDOWS_PREFIX}" CACHE STRING "Static Qt and libjpeg for Windows")
endif()
list(APPEND CMAKE_FIND_ROOT_PATH ${KALVIAN_WINDOWS_PREFIX})
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KALVIAN_WINDOWS_PREFIX)
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
