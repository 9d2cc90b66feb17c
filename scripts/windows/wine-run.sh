#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's test prefix; CMake uses it as the
# cross-compiling emulator, so ctest runs the i686 test programs through it.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=wine-env.sh
. "$here/wine-env.sh"

# Wine would quietly make a prefix without the test settings (display driver, crash dialog).
if [ ! -f "$qvl_prefix_stamp" ]; then
    echo "wine-run.sh: no prepared Wine prefix at $WINEPREFIX; run scripts/windows/install-deps.sh" >&2
    exit 127
fi

# A server that outlives each program makes every start ~0.05 s instead of ~2.5 s. The first
# program in a fresh server starts Wine's service processes, which would inherit and hold open
# the caller's pipes (ctest then waits for them): start them here with nothing attached.
# The server answers 2 when one already runs; it ends itself after five idle minutes.
if wineserver -p300 2>/dev/null; then
    wine cmd /c exit 0 </dev/null >/dev/null 2>&1 || true
fi
exec wine "$@"
