#!/usr/bin/env bash
# Everything the 32-bit Windows build and its Wine tests need on a Debian 12 machine, from
# Debian's archive only: the mingw-w64 cross compiler, Wine, fonts, libpng (cross-built static
# from Debian's source package), GoogleTest (cross-built from the googletest package) and a
# prepared 32-bit Wine prefix. Run as root. Steps already done are skipped, so a second run
# takes a few seconds.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
repo="$(cd "$here/../.." && pwd)"
toolchain="$repo/cmake/toolchains/mingw-i686.cmake"
# shellcheck source=wine-env.sh
. "$here/wine-env.sh"

packages=(
    cmake ninja-build dpkg-dev googletest
    g++-mingw-w64-i686-posix libz-mingw-w64-dev
    wine wine32:i386 fonts-liberation fonts-wine
)
src_list=/etc/apt/sources.list.d/qvl-debian-src.sources
jobs="${QVL_JOBS:-2}"

step_start=0
begin() { step_start=$SECONDS; echo "== $1"; }
done_step() { echo "   done in $((SECONDS - step_start)) s"; }

need_root() {
    if [ "$(id -u)" -ne 0 ]; then
        echo "install-deps.sh: '$1' needs root; run this script as root" >&2
        exit 1
    fi
}

installed() {
    [ "$(dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null)" = installed ]
}

apt_updated=no
apt_update() {
    if [ "$apt_updated" = no ]; then
        apt-get update -q
        apt_updated=yes
    fi
}

# --- Debian packages -------------------------------------------------------------------
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    need_root "dpkg --add-architecture i386"
    dpkg --add-architecture i386
fi

missing=()
for p in "${packages[@]}"; do
    installed "$p" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
    need_root "apt-get install"
    begin "apt-get install ${missing[*]}"
    apt_update
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
    done_step
fi

# --- libpng, static, from Debian's source package -----------------------------------------
# Debian ships zlib for mingw but no libpng.
if [ ! -f "$WIN32_DEPS_PREFIX/lib/libpng16.a" ]; then
    need_root "apt-get source"
    begin "libpng cross-build into $WIN32_DEPS_PREFIX"
    if [ ! -f "$src_list" ]; then
        # Same mirrors and keyring as the binary entries. The security suite is left out: its
        # source index is served but its files answer 404.
        if [ -f /etc/apt/sources.list.d/debian.sources ]; then
            sed -e 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
                awk -v RS= -v ORS='\n\n' '!/security/' >"$src_list"
        else
            echo "install-deps.sh: no /etc/apt/sources.list.d/debian.sources to derive a deb-src entry from" >&2
            exit 1
        fi
        apt_updated=no
    fi
    apt_update
    work="$(mktemp -d)"
    (
        cd "$work"
        apt-get source -q libpng1.6
        src="$(find . -maxdepth 1 -type d -name 'libpng1.6-*' | head -n 1)"
        cmake -S "$src" -B build -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
            -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$WIN32_DEPS_PREFIX" \
            -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
            -DZLIB_LIBRARY=/usr/i686-w64-mingw32/lib/libz.a \
            -DZLIB_INCLUDE_DIR=/usr/i686-w64-mingw32/include >/dev/null
        cmake --build build -j "$jobs" >/dev/null
        cmake --install build >/dev/null
    )
    rm -rf "$work"
    done_step
fi

# --- GoogleTest, static, from /usr/src/googletest ----------------------------------------
if [ ! -f "$WIN32_DEPS_PREFIX/lib/cmake/GTest/GTestConfig.cmake" ]; then
    need_root "installing into $WIN32_DEPS_PREFIX"
    begin "GoogleTest cross-build into $WIN32_DEPS_PREFIX"
    work="$(mktemp -d)"
    cmake -S /usr/src/googletest -B "$work" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$WIN32_DEPS_PREFIX" >/dev/null
    cmake --build "$work" -j "$jobs" >/dev/null
    cmake --install "$work" >/dev/null
    rm -rf "$work"
    done_step
fi

# --- Wine prefix ---------------------------------------------------------------------------
# Made once and reused; it is redone only when the registry settings change.
wanted="$(sha256sum "$here/wine-setup.reg" | cut -d' ' -f1)"
if [ ! -f "$qvl_prefix_stamp" ] || [ "$(cat "$qvl_prefix_stamp")" != "$wanted" ]; then
    begin "Wine prefix $WINEPREFIX"
    created=no
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        wineboot -i >/dev/null 2>&1
        wineserver -w
        created=yes
    fi
    # Debian's Wine does not look in fonts-wine's directory; without any font GDI+ draws no text.
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    ln -sf /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
    # A relative name: regedit would take an absolute Unix path for a switch.
    (cd "$here" && wine regedit /S wine-setup.reg >/dev/null 2>&1)
    # The display driver is chosen when the desktop process starts. A new prefix has no other
    # users: wait for its server to end. A prefix in use (a persistent server from wine-run.sh)
    # is not waited for, as that could take minutes.
    if [ "$created" = yes ]; then
        wineserver -w
    else
        echo "   settings apply once the prefix's Wine server has ended (or: wineserver -k)"
    fi
    echo "$wanted" >"$qvl_prefix_stamp"
    done_step
fi

echo "Windows build dependencies ready: $WIN32_DEPS_PREFIX, Wine prefix $WINEPREFIX"
