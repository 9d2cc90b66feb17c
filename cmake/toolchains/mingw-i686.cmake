# Windows x86 (32-bit, SSE2) with Debian's mingw-w64 cross compilers.
# "i686", not "x86": libpng's CMake enables its SSE2 filters only for ^i?86|x86_64.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QVL_MINGW_TRIPLET i686-w64-mingw32)
set(QVL_MINGW_DEPS_VAR WIN32_DEPS_PREFIX)
set(QVL_MINGW_DEPS_DEFAULT /opt/win32-deps)
# x87 arithmetic would round differently from every other build.
set(QVL_MINGW_ARCH_FLAGS "-msse2 -mfpmath=sse")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
