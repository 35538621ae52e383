# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (posix thread model, so std::thread works).
# Everything it links is static: the product imports only Windows system DLLs.
# RAZIZ_WINDOWS_DEPS names the prefix that holds zlib, libpng and RtAudio built for Windows.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(RAZIZ_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${RAZIZ_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${RAZIZ_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${RAZIZ_MINGW_TRIPLE}-windres)
set(CMAKE_AR ${RAZIZ_MINGW_TRIPLE}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${RAZIZ_MINGW_TRIPLE}-gcc-ranlib-posix CACHE FILEPATH "")

# Try-compiles run in projects of their own; hand them the deps prefix too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES RAZIZ_WINDOWS_DEPS)

set(CMAKE_FIND_ROOT_PATH /usr/${RAZIZ_MINGW_TRIPLE})
if(RAZIZ_WINDOWS_DEPS)
  list(PREPEND CMAKE_FIND_ROOT_PATH ${RAZIZ_WINDOWS_DEPS})
  # pkg-config must see only the Windows prefix, never the build machine's .pc files.
  set(ENV{PKG_CONFIG_LIBDIR} ${RAZIZ_WINDOWS_DEPS}/lib/pkgconfig)
  set(ENV{PKG_CONFIG_PATH} "")
  set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
  # The prefix stands beside the toolchain's own headers, as /usr/include does on Linux
  # (so <rtaudio/RtAudio.h> is found the same way on both).
  set(CMAKE_C_STANDARD_INCLUDE_DIRECTORIES ${RAZIZ_WINDOWS_DEPS}/include)
  set(CMAKE_CXX_STANDARD_INCLUDE_DIRECTORIES ${RAZIZ_WINDOWS_DEPS}/include)
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
