#!/usr/bin/env bash
# Installs what is missing, cross-builds the 32-bit Windows configuration and runs its tests
# under Wine. Arguments are passed on to ctest (e.g. -R Module). Exit status: ctest's.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
repo="$(cd "$here/../.." && pwd)"
cd "$repo"

declare -A seconds
timed() {
    local name=$1 start=$SECONDS rc=0
    shift
    "$@" || rc=$?
    seconds[$name]=$((SECONDS - start))
    return "$rc"
}

timed install bash "$here/install-deps.sh"
# Test discovery runs each test program through Wine during the build: start the server and
# Wine's service processes first, so the first discovery is not slowed past its timeout.
"$here/wine-run.sh" cmd /c exit 0 </dev/null >/dev/null 2>&1
timed configure cmake --preset windows-i686
timed build cmake --build --preset windows-i686
status=0
timed tests ctest --preset windows-i686 "$@" || status=$?

module="$(find build/windows-i686 -name 'qvl-feedback-compressor.dll' -print -quit)"
echo
echo "== Windows i686 summary"
printf '   %-10s %4s s\n' install "${seconds[install]}" configure "${seconds[configure]}" \
    build "${seconds[build]}" tests "${seconds[tests]}"
if [ -n "$module" ]; then
    dump="$(i686-w64-mingw32-objdump -p "$module")"
    exports="$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/{/Table/!p}' <<<"$dump" | grep -o '\] .*' | cut -c3- | xargs)"
    imports="$(grep 'DLL Name:' <<<"$dump" | awk '{print $3}' | xargs)"
    echo "   module     $module ($(stat -c %s "$module") bytes)"
    echo "   exports    $exports"
    echo "   imports    $imports"
else
    echo "   module     not built (no plug-in module target yet)"
fi
if [ "$status" -eq 0 ]; then echo "   result     all tests passed"; else echo "   result     TESTS FAILED (ctest exit $status)"; fi
exit "$status"
