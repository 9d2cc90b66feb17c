# Shared by the Windows toolchain files, which set QVL_MINGW_TRIPLET (the compilers' prefix),
# QVL_MINGW_DEPS_VAR (the name of the variable, and environment variable, that points at the
# cross-built libraries) and its default before including this file.
# The posix thread model is required: the win32 model of GCC 12 has no std::mutex/std::thread,
# which GoogleTest needs.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${QVL_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QVL_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${QVL_MINGW_TRIPLET}-windres)

# Cross-built static libpng and GoogleTest (scripts/windows/install-deps.sh puts them here).
if(DEFINED ENV{${QVL_MINGW_DEPS_VAR}} AND NOT "$ENV{${QVL_MINGW_DEPS_VAR}}" STREQUAL "")
  set(_qvl_deps_default "$ENV{${QVL_MINGW_DEPS_VAR}}")
else()
  set(_qvl_deps_default ${QVL_MINGW_DEPS_DEFAULT})
endif()
set(${QVL_MINGW_DEPS_VAR} "${_qvl_deps_default}" CACHE PATH
    "Prefix of the cross-built libpng and GoogleTest")
set(_qvl_deps_prefix "${${QVL_MINGW_DEPS_VAR}}")

set(CMAKE_FIND_ROOT_PATH /usr/${QVL_MINGW_TRIPLET} ${_qvl_deps_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config must see only Windows libraries, never the build machine's own .pc files.
set(ENV{PKG_CONFIG_LIBDIR}
    "${_qvl_deps_prefix}/lib/pkgconfig:/usr/${QVL_MINGW_TRIPLET}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
# zlib comes both as an import library (zlib1.dll, which Windows does not have) and as an
# archive; find modules would pick the import library first.
set(ZLIB_LIBRARY /usr/${QVL_MINGW_TRIPLET}/lib/libz.a CACHE FILEPATH "Static zlib for Windows")

# The toolchain is also used alone (libpng, GoogleTest), so it carries the code generation.
# _USE_MATH_DEFINES gives <cmath> the M_PI family that glibc always declares.
set(CMAKE_C_FLAGS_INIT "${QVL_MINGW_ARCH_FLAGS} -D_USE_MATH_DEFINES")
set(CMAKE_CXX_FLAGS_INIT "${QVL_MINGW_ARCH_FLAGS} -D_USE_MATH_DEFINES")

# Fully static: no libgcc, libstdc++ or libwinpthread DLL has to travel with the plug-in,
# and zlib links from its archive rather than from zlib1.dll, which Windows does not have.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")
