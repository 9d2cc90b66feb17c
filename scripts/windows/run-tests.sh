#!/usr/bin/env bash
# Installs what is missing, cross-builds the Windows configurations (32-bit i686, then 64-bit
# x86_64; QVL_WIN_ARCHS chooses, e.g. QVL_WIN_ARCHS=x86_64) and runs their tests under Wine,
# each architecture in its own prefix. Arguments are passed on to ctest (e.g. -R Module).
# Exit status: 0 when every architecture's tests pass.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
repo="$(cd "$here/../.." && pwd)"
cd "$repo"

declare -A seconds results failed rerun
timed() {
    local name=$1 start=$SECONDS rc=0
    shift
    "$@" || rc=$?
    seconds[$name]=$((SECONDS - start))
    return "$rc"
}

# The CMake preset and the cross-compiling emulator of each architecture.
declare -A presets=([i686]=windows-i686 [x86_64]=windows-x64)
declare -A emulators=([i686]="$here/wine-run.sh" [x86_64]="$here/wine64-run.sh")

status=0
read -r -a archs <<<"${QVL_WIN_ARCHS:-i686 x86_64}"
for arch in "${archs[@]}"; do
    if [ -z "${presets[$arch]:-}" ]; then
        echo "run-tests.sh: unknown architecture $arch (i686 or x86_64)" >&2
        exit 2
    fi
    preset="${presets[$arch]}"
    echo "== Windows $arch"
    timed "$arch install" bash "$here/install-deps.sh" "$arch"
    # Test discovery runs each test program through Wine during the build: start the server
    # and Wine's service processes first, so the first discovery is not slowed past its timeout.
    "${emulators[$arch]}" cmd /c exit 0 </dev/null >/dev/null 2>&1
    timed "$arch configure" cmake --preset "$preset"
    timed "$arch build" cmake --build --preset "$preset"
    rc=0
    timed "$arch tests" ctest --preset "$preset" "$@" || rc=$?
    # A test that fails is run once more on its own, with its output, and named in the summary
    # either way: under Wine a program now and then fails for reasons of the emulator (one that
    # Wine does not start, or starts too slowly on a loaded machine), which a second run tells
    # apart from a fault of ours.
    failed[$arch]=""
    rerun[$arch]=""
    if [ "$rc" -ne 0 ]; then
        failed[$arch]="$(cut -d: -f2 "build/$preset/Testing/Temporary/LastTestsFailed.log" 2>/dev/null | xargs)"
        rc=0
        ctest --preset "$preset" --rerun-failed --output-on-failure || rc=$?
        rerun[$arch]=$([ "$rc" -eq 0 ] && echo "passed when run again" || echo "failed again")
    fi
    results[$arch]=$rc
    [ "$rc" -eq 0 ] || status=1
done

echo
for arch in "${archs[@]}"; do
    echo "== Windows $arch summary"
    printf '   %-10s %4s s\n' install "${seconds[$arch install]}" \
        configure "${seconds[$arch configure]}" build "${seconds[$arch build]}" \
        tests "${seconds[$arch tests]}"
    # The VST 2.4 DLL, the CLAP module and the VST 3 bundle's DLL (named as its bundle folder).
    for file in qvl-feedback-compressor.dll qvl-feedback-compressor.clap qvl-feedback-compressor.vst3; do
        module="$(find "build/${presets[$arch]}" -type f -name "$file" -print -quit)"
        if [ -n "$module" ]; then
            dump="$("$arch-w64-mingw32-objdump" -p "$module")"
            exports="$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/{/Table/!p}' <<<"$dump" | grep -o '\] .*' | cut -c3- | xargs)"
            imports="$(grep 'DLL Name:' <<<"$dump" | awk '{print $3}' | xargs)"
            echo "   module     $module ($(stat -c %s "$module") bytes, $(grep -m1 'file format' <<<"$dump" | awk '{print $NF}'))"
            echo "   exports    $exports"
            echo "   imports    $imports"
        else
            echo "   module     $file not built"
        fi
    done
    if [ -n "${failed[$arch]}" ]; then
        echo "   failed     ${failed[$arch]} (${rerun[$arch]})"
    fi
    if [ "${results[$arch]}" -eq 0 ]; then
        echo "   result     all tests passed"
    else
        echo "   result     TESTS FAILED (ctest exit ${results[$arch]})"
    fi
done
exit "$status"
