# Shared by the Windows scripts (sourced, not run): where the cross-built libraries and the
# test Wine prefix of one architecture live. QVL_WIN_ARCH chooses it: i686 (32-bit, the
# default) or x86_64 (64-bit). Each has its own prefix, .wine-qvl-<arch> in $QVL_WINE_ROOT
# (default: the home folder): a 32-bit prefix cannot run 64-bit programs, and the architecture
# of a prefix is fixed when it is made. The libraries can be moved through the environment too.
QVL_WIN_ARCH="${QVL_WIN_ARCH:-i686}"
case "$QVL_WIN_ARCH" in
i686)
    WIN32_DEPS_PREFIX="${WIN32_DEPS_PREFIX:-/opt/win32-deps}"
    qvl_deps_prefix="$WIN32_DEPS_PREFIX"
    export WIN32_DEPS_PREFIX
    WINEARCH=win32
    ;;
x86_64)
    WIN64_DEPS_PREFIX="${WIN64_DEPS_PREFIX:-/opt/win64-deps}"
    qvl_deps_prefix="$WIN64_DEPS_PREFIX"
    export WIN64_DEPS_PREFIX
    WINEARCH=win64
    ;;
*)
    echo "wine-env.sh: QVL_WIN_ARCH must be i686 or x86_64, not '$QVL_WIN_ARCH'" >&2
    return 2 2>/dev/null || exit 2
    ;;
esac
qvl_triplet="$QVL_WIN_ARCH-w64-mingw32"
qvl_toolchain_name="mingw-$QVL_WIN_ARCH.cmake"
WINEPREFIX="${QVL_WINE_ROOT:-${HOME:-/root}}/.wine-qvl-$QVL_WIN_ARCH"
WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installer prompts in a fresh prefix. A test may add its own overrides through
# QVL_WINEDLLOVERRIDES (e.g. a stand-in system DLL beside the program).
WINEDLLOVERRIDES="mscoree,mshtml=${QVL_WINEDLLOVERRIDES:+;$QVL_WINEDLLOVERRIDES}"
export QVL_WIN_ARCH WINEPREFIX WINEARCH WINEDEBUG WINEDLLOVERRIDES
# Written by install-deps.sh once the prefix has the settings of wine-setup.reg.
qvl_prefix_stamp="$WINEPREFIX/.qvl-setup"
