# Windows x64 (64-bit) with Debian's mingw-w64 cross compilers. SSE2 is part of the
# architecture, so no code-generation flags are needed.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QVL_MINGW_TRIPLET x86_64-w64-mingw32)
set(QVL_MINGW_DEPS_VAR WIN64_DEPS_PREFIX)
set(QVL_MINGW_DEPS_DEFAULT /opt/win64-deps)
set(QVL_MINGW_ARCH_FLAGS "")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
