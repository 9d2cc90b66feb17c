#!/bin/sh
# Installs the packages, builds every configuration and runs every test. The optimised build's
# test run comes last, so its summary closes the output.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-packages.sh
sh scripts/check-format.sh
sh scripts/check-layers.sh

# Editor tests need an X server; a private Xvfb display serves them. Without -noreset the
# server resets whenever its last client leaves, and a test connecting in that moment is
# refused (the X tests then skip themselves). The screen is as wide as a high-density display's,
# where the editor opens at 200 % and 250 % (Automatic offers no size that overruns the screen).
if [ -z "${DISPLAY:-}" ]; then
    Xvfb :87 -screen 0 2560x1440x24 -nolisten tcp -noreset >/dev/null 2>&1 &
    xvfb_pid=$!
    trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
    export DISPLAY=:87
fi

# The 32- and 64-bit Windows builds, cross-compiled and tested under Wine (it installs its own
# tools).
bash scripts/windows/run-tests.sh

# ThreadSanitizer runs the tests that exercise several threads at once (suites named
# Concurrency); AddressSanitizer (with UBSan) runs them all.
cmake --preset tsan
cmake --build --preset tsan
ctest --preset tsan -R Concurrency
cmake --preset asan
cmake --build --preset asan
ctest --preset asan

# The release packages (the Windows .zip takes the DLLs built above): contents, lintian, and
# the .deb installed, used and removed again.
cmake --preset release
cmake --build --preset release
bash scripts/check-packages.sh

ctest --preset release
