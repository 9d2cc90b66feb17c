#!/usr/bin/env bash
# CMake's cross-compiling emulator for the 64-bit build: wine-run.sh in the 64-bit prefix.
exec "$(dirname "${BASH_SOURCE[0]}")/wine-run.sh" --arch x86_64 "$@"
