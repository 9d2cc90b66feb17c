#!/bin/sh
# Builds sord_validate, the RDF validator that lv2-dev's lv2_validate calls, from Debian's sord
# source package (no Debian 12 binary package ships it). Needs deb-src entries, libserd-dev and
# libpcre2-dev. Usage: build-sord-validate.sh [DESTINATION] (default /usr/local/bin).
set -eu
destination=${1:-/usr/local/bin}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
apt-get source --download-only sord >/dev/null
tar xf sord_*.orig.tar.*
cd sord*/
# The b-tree and hash come compiled into sord.c, so only these three sources are needed.
cc -std=c99 -O2 -D_POSIX_C_SOURCE=200809L -Iinclude -Isrc $(pkg-config --cflags serd-0) \
    src/sord.c src/syntax.c src/sord_validate.c \
    $(pkg-config --libs serd-0) -lpcre2-8 -o "$destination/sord_validate"
echo "built $destination/sord_validate"
