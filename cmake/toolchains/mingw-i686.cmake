# Windows x86 (32-bit, SSE2) with Debian's mingw-w64 cross compilers.
# The posix thread model is required: the win32 model of GCC 12 has no std::mutex/std::thread,
# which GoogleTest needs.
set(CMAKE_SYSTEM_NAME Windows)
# "i686", not "x86": libpng's CMake enables its SSE2 filters only for ^i?86|x86_64.
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)

# Cross-built static libpng and GoogleTest (scripts/windows/install-deps.sh puts them here).
if(DEFINED ENV{WIN32_DEPS_PREFIX} AND NOT "$ENV{WIN32_DEPS_PREFIX}" STREQUAL "")
  set(_qvl_win32_deps_default "$ENV{WIN32_DEPS_PREFIX}")
else()
  set(_qvl_win32_deps_default /opt/win32-deps)
endif()
set(WIN32_DEPS_PREFIX "${_qvl_win32_deps_default}" CACHE PATH "Prefix of the cross-built libpng and GoogleTest")

set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32 ${WIN32_DEPS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config must see only Windows libraries, never the build machine's own .pc files.
set(ENV{PKG_CONFIG_LIBDIR} "${WIN32_DEPS_PREFIX}/lib/pkgconfig:/usr/i686-w64-mingw32/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
# zlib comes both as an import library (zlib1.dll, which Windows does not have) and as an
# archive; find modules would pick the import library first.
set(ZLIB_LIBRARY /usr/i686-w64-mingw32/lib/libz.a CACHE FILEPATH "Static zlib for Windows")

# The toolchain is also used alone (libpng, GoogleTest), so it carries the SSE2 code generation.
# _USE_MATH_DEFINES gives <cmath> the M_PI family that glibc always declares.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse -D_USE_MATH_DEFINES")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse -D_USE_MATH_DEFINES")

# Fully static: no libgcc, libstdc++ or libwinpthread DLL has to travel with the plug-in,
# and zlib links from its archive rather than from zlib1.dll, which Windows does not have.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")
