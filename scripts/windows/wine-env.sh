# Shared by the Windows scripts (sourced, not run): where the cross-built libraries and the
# test Wine prefix live. Both can be moved through the environment.
WIN32_DEPS_PREFIX="${WIN32_DEPS_PREFIX:-/opt/win32-deps}"
WINEPREFIX="${QVL_WINEPREFIX:-${HOME:-/root}/.wine-qvl-i686}"
WINEARCH=win32
WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installer prompts in a fresh prefix.
WINEDLLOVERRIDES="mscoree,mshtml="
export WIN32_DEPS_PREFIX WINEPREFIX WINEARCH WINEDEBUG WINEDLLOVERRIDES
# Written by install-deps.sh once the prefix has the settings of wine-setup.reg.
qvl_prefix_stamp="$WINEPREFIX/.qvl-setup"
