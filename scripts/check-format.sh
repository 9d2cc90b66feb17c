#!/bin/sh
# Fails when a C++ source file differs from the project's .clang-format settings, and names it.
set -eu
cd "$(dirname "$0")/.."
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
echo "format: all C++ sources follow .clang-format"
