#!/usr/bin/env bash
# Everything one Windows build and its Wine tests need on a Debian 12 machine, from Debian's
# archive only: the mingw-w64 cross compiler, Wine, fonts, libpng (cross-built static from
# Debian's source package), GoogleTest (cross-built from the googletest package) and a
# prepared Wine prefix. The architecture is the argument: i686 (32-bit, the default) or
# x86_64 (64-bit). Run as root. Steps already done are skipped, so a second run takes a few
# seconds.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
repo="$(cd "$here/../.." && pwd)"
QVL_WIN_ARCH="${1:-${QVL_WIN_ARCH:-i686}}"
# shellcheck source=wine-env.sh
. "$here/wine-env.sh"
toolchain="$repo/cmake/toolchains/$qvl_toolchain_name"

packages=(cmake ninja-build dpkg-dev googletest libz-mingw-w64-dev wine fonts-liberation fonts-wine)
case "$QVL_WIN_ARCH" in
i686) packages+=(g++-mingw-w64-i686-posix wine32:i386) ;;
x86_64) packages+=(g++-mingw-w64-x86-64-posix wine64) ;;
esac
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
if [ "$QVL_WIN_ARCH" = i686 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
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
if [ ! -f "$qvl_deps_prefix/lib/libpng16.a" ]; then
    need_root "apt-get source"
    begin "libpng cross-build into $qvl_deps_prefix"
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
            -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$qvl_deps_prefix" \
            -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
            -DZLIB_LIBRARY=/usr/$qvl_triplet/lib/libz.a \
            -DZLIB_INCLUDE_DIR=/usr/$qvl_triplet/include >/dev/null
        cmake --build build -j "$jobs" >/dev/null
        cmake --install build >/dev/null
    )
    rm -rf "$work"
    done_step
fi

# --- GoogleTest, static, from /usr/src/googletest ----------------------------------------
# The Windows tests use GoogleTest alone; leaving out its mocking library halves the build.
if [ ! -f "$qvl_deps_prefix/lib/cmake/GTest/GTestConfig.cmake" ]; then
    need_root "installing into $qvl_deps_prefix"
    begin "GoogleTest cross-build into $qvl_deps_prefix"
    work="$(mktemp -d)"
    cmake -S /usr/src/googletest -B "$work" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$qvl_deps_prefix" \
        -DBUILD_GMOCK=OFF >/dev/null
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

echo "Windows $QVL_WIN_ARCH build dependencies ready: $qvl_deps_prefix, Wine prefix $WINEPREFIX"
