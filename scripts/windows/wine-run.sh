#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's 32-bit test prefix, or with
# "--arch x86_64" first in the 64-bit one (wine64-run.sh); CMake uses it as the cross-compiling
# emulator, so ctest runs the test programs through it. The architecture is never taken from
# the environment, so a variable left over from the other build cannot pick the wrong prefix.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
QVL_WIN_ARCH=i686
if [ "${1:-}" = --arch ]; then
    QVL_WIN_ARCH="$2"
    shift 2
fi
# shellcheck source=wine-env.sh
. "$here/wine-env.sh"

# Wine would quietly make a prefix without the test settings (display driver, crash dialog).
if [ ! -f "$qvl_prefix_stamp" ]; then
    echo "wine-run.sh: no prepared Wine prefix at $WINEPREFIX; run scripts/windows/install-deps.sh $QVL_WIN_ARCH" >&2
    exit 127
fi

# A server that outlives each program makes every start ~0.05 s instead of ~2.5 s. The first
# program in a fresh server starts Wine's service processes, which would inherit and hold open
# the caller's pipes (ctest then waits for them): start them here with nothing attached.
# The server answers 2 when one already runs; it ends itself after five idle minutes.
if wineserver -p300 2>/dev/null; then
    wine cmd /c exit 0 </dev/null >/dev/null 2>&1 || true
fi

# Wine also starts helper processes (the desktop process, services) on demand, from whichever
# program needs them first; they inherit that program's output and can hold the caller's pipes
# open long after it ended (ctest then waits until its timeout). The program therefore writes
# into files, which are passed on when it ends.
out="$(mktemp)"
err="$(mktemp)"
trap 'rm -f "$out" "$err"' EXIT
# Now and then Wine fails to start a program at all (it prints "ShellExecuteEx failed:
# Internal error."), most often in a prefix that is still settling: the program never ran, so
# it is simply started again. A missing file ("File not found") is not tried again.
for attempt in 1 2 3; do
    status=0
    wine "$@" >"$out" 2>"$err" || status=$?
    if [ "$status" -eq 0 ] || ! grep -q 'ShellExecuteEx failed: Internal error' "$out" "$err"; then
        break
    fi
    sleep "$attempt"
done
cat "$out"
cat "$err" >&2
exit "$status"
