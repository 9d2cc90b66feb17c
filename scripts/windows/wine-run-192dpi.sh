#!/usr/bin/env bash
# Runs a Windows program under Wine in a test prefix of its own whose display is set to
# 192 DPI (200 %). CMake uses it as the emulator of the tests that need a high-density display.
# Wine reads the DPI when a prefix's server starts, so it gets a prefix apart from the 96-DPI
# one that every other test shares. The prefix is made on first use (about 15 s).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# The architecture as for wine-run.sh: "--arch x86_64" first picks the 64-bit prefix.
QVL_WIN_ARCH=i686
if [ "${1:-}" = --arch ]; then
    QVL_WIN_ARCH="$2"
    shift 2
fi
# shellcheck source=wine-env.sh
. "$here/wine-env.sh"
WINEPREFIX="${WINEPREFIX}-192dpi"
export WINEPREFIX
stamp="$WINEPREFIX/.qvl-setup-192dpi"
wanted="$(cat "$here/wine-setup.reg" "$here/wine-192dpi.reg" | sha256sum | cut -d' ' -f1)"

mkdir -p "$WINEPREFIX"
(
    # Test discovery and the tests may start together: one of them prepares the prefix.
    flock 9
    if [ ! -f "$stamp" ] || [ "$(cat "$stamp")" != "$wanted" ]; then
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            wineboot -i >/dev/null 2>&1
            wineserver -w
        fi
        mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
        ln -sf /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
        # Relative names: regedit would take an absolute Unix path for a switch.
        (cd "$here" && wine regedit /S wine-setup.reg >/dev/null 2>&1 &&
            wine regedit /S wine-192dpi.reg >/dev/null 2>&1)
        wineserver -k 2>/dev/null || true
        wineserver -w
        echo "$wanted" >"$stamp"
    fi
) 9>"$WINEPREFIX.lock"

# As in wine-run.sh: a lasting server, Wine's services started with nothing attached.
if wineserver -p300 2>/dev/null; then
    wine cmd /c exit 0 </dev/null >/dev/null 2>&1 || true
fi
exec wine "$@"
