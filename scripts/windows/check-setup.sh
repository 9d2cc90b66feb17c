#!/usr/bin/env bash
# Checks the Windows setup program under Wine as users and studios meet it, each architecture in
# a fresh copy of its test prefix (install-deps.sh makes them), so nothing leaks between runs:
#   64-bit Windows: a silent install with the default folders and the uninstall entry; setup
#     and uninstaller carry the version resource; every installed module (both VST 2 DLLs, both
#     CLAP files, both binaries of the VST 3 bundle) loads in the Windows module tests from
#     where it was installed and renders the factory programs as the Linux build does; the silent uninstall takes away everything of ours and keeps the editor's
#     settings; a setup built with a lower version, installed into chosen folders, is upgraded
#     in place with no stale file left; the same version again repairs; a read-only or missing
#     folder fails with a message, exit code 2 and no trace.
#   The VST 3 bundle lands in Common Files\VST3 with the binary of each architecture the
#     Windows runs.
#   32-bit Windows: only the 32-bit editions, installed, tested and uninstalled likewise, beside
#     another plug-in in the same folder, which stays.
# Usage: check-setup.sh SETUP.EXE WINDOWS.ZIP  (check-packages.sh calls it with the packages it
# built; the .zip gives the staged files for the older setup). Needs the release build's
# generated setup-product.nsh and the Windows builds' module tests.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
repo="$(cd "$here/../.." && pwd)"
setup="$(realpath "$1")"
zip="$(realpath "$2")"
name=qvl-feedback-compressor
product="QVL Feedback Compressor"
dll="$name.dll"
clap="$name.clap"
vst3="$name.vst3"
# The first line is the tool's own version; a second names the plug-in it found.
version="$("$repo/build/release/tools/qvl-render/qvl-render" --version | sed -n '1s/^[^ ]* //p')"
# What the VST 3 bundle shows hosts (the editor snapshots), as paths inside the bundle with the
# folders that hold them, read from the .zip.
mapfile -t vst3_resources < <(zipinfo -1 "$zip" | grep -v '/$' |
    sed -n "s|^[^/]*/$vst3/\(Contents/Resources/.*\)|\1|p" |
    while IFS= read -r file; do
        while [ "$file" != Contents ]; do
            echo "$file"
            file="${file%/*}"
        done
    done | sort -u)
uninstall_key='[Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\'"$name"']'

fail() {
    echo "check-setup.sh: $*" >&2
    exit 1
}

start=$SECONDS
# Where the prepared prefixes are (wine-env.sh); the copies go into a folder of their own.
prefixes_root="${QVL_WINE_ROOT:-}"
work="$(mktemp -d)"
readonly_folder="$work/read-only"
cleanup() {
    chattr -i "$readonly_folder" 2>/dev/null || true
    [ -z "${WINEPREFIX:-}" ] || [ ! -d "$WINEPREFIX" ] || wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# A fresh copy of an architecture's test prefix, used by every wine command after it.
use_fresh_prefix() {
    local source
    QVL_WIN_ARCH=$1
    QVL_WINE_ROOT="$prefixes_root"
    # shellcheck source=wine-env.sh
    . "$here/wine-env.sh"
    source="$WINEPREFIX"
    [ -f "$qvl_prefix_stamp" ] || fail "no prepared Wine prefix at $source; run install-deps.sh $1"
    QVL_WINE_ROOT="$work"
    . "$here/wine-env.sh"
    cp -a "$source" "$WINEPREFIX"
    drive_c="$WINEPREFIX/drive_c"
    appdata="$drive_c/users/$(id -un)/AppData/Roaming"
}

# Runs a Windows program and waits until every process it started has ended (the uninstaller
# hands its work to a copy of itself and returns at once). Output goes through files: Wine's
# service processes would hold a pipe open.
run() {
    local status=0
    wine "$@" </dev/null >"$work/out" 2>&1 || status=$?
    wineserver -w
    cat "$work/out"
    return "$status"
}

# Everything on drive C: but Windows itself and the temporary folders, one path a line.
drive_files() {
    (cd "$drive_c" && find . -path ./windows -prune -o -path '*/Temp' -prune -o -print | sort)
}
registry_mentions() { cat "$WINEPREFIX"/*.reg | grep -ci "$name\|$product" || true; }
uninstall_entry() { key="$uninstall_key" awk '$1 == ENVIRON["key"] {on = 1; next} /^$/ {on = 0} on' \
    "$WINEPREFIX/system.reg"; }
registry_value() { uninstall_entry | sed -n "s/^\"$1\"=//p"; }

remember_clean_state() {
    mkdir -p "$appdata/$name"
    echo "scale=100" >"$appdata/$name/editor.conf"
    drive_files >"$work/clean-files"
    clean_mentions="$(registry_mentions)"
}

expect_clean_state() {
    diff "$work/clean-files" <(drive_files) >&2 || fail "$1: files differ from before the setup"
    [ "$(registry_mentions)" = "$clean_mentions" ] || fail "$1: registry entries of ours are left"
    [ "$(cat "$appdata/$name/editor.conf")" = scale=100 ] || fail "$1: the editor's settings are gone"
}

# What the setup added to drive C:, as paths below it.
added_files() { diff "$work/clean-files" <(drive_files) | sed -n 's|^> \./||p'; }

expect_added() {
    local expected
    expected="$(printf '%s\n' "$@" | sort)"
    [ "$(added_files)" = "$expected" ] ||
        fail "$situation: added $(added_files | tr '\n' ' '), expected $(tr '\n' ' ' <<<"$expected")"
}

expect_entry() {
    uninstall_entry | grep -q . || fail "$situation: no uninstall entry"
    [ "$(registry_value DisplayName)" = "\"$product\"" ] || fail "$situation: DisplayName"
    [ "$(registry_value Publisher)" = '"Velmorinth Labs"' ] || fail "$situation: Publisher"
    [ "$(registry_value DisplayVersion)" = "\"$1\"" ] || fail "$situation: DisplayVersion"
    grep -q 'uninstall.exe,0"$' <<<"$(registry_value DisplayIcon)" || fail "$situation: DisplayIcon"
    grep -q 'uninstall.exe' <<<"$(registry_value UninstallString)" || fail "$situation: UninstallString"
    [ "$(registry_value EstimatedSize)" != dword:00000000 ] && [ -n "$(registry_value EstimatedSize)" ] ||
        fail "$situation: EstimatedSize"
}

# The version resource, as Explorer's properties show it: each key's value follows it.
expect_version_resource() {
    local strings
    strings="$(strings -el "$1")"
    for pair in "ProductName=$product" "CompanyName=Velmorinth Labs" "ProductVersion=$version"; do
        grep -A1 -x "${pair%%=*}" <<<"$strings" | tail -1 | grep -qx "${pair#*=}" ||
            fail "$1 lacks ${pair%%=*} ${pair#*=} in its version resource"
    done
}

# The Windows module tests (with the factory programs' fingerprints) beside an installed DLL.
expect_module_works() {
    local folder="$1" build="$2"
    cp "$repo/build/$build/formats/vst2/qvl_win32_module_tests.exe" "$folder/"
    (cd "$folder" && run ./qvl_win32_module_tests.exe >"$work/test-log") ||
        { cat "$work/test-log" >&2; fail "$situation: module tests fail with the DLL in $folder"; }
    rm "$folder/qvl_win32_module_tests.exe"
}

# The same for the CLAP module: its tests load the .clap beside them through our CLAP host.
expect_clap_works() {
    local folder="$1" build="$2"
    cp "$repo/build/$build/formats/clap/qvl_win32_clap_module_tests.exe" "$folder/"
    (cd "$folder" && run ./qvl_win32_clap_module_tests.exe >"$work/test-log") ||
        { cat "$work/test-log" >&2; fail "$situation: CLAP tests fail with the module in $folder"; }
    rm "$folder/qvl_win32_clap_module_tests.exe"
}

# And for the VST 3 bundle's binary of an architecture: its tests, in that folder inside the
# bundle, load the bundle around them through our VST 3 host.
expect_vst3_works() {
    local folder="$1" build="$2" tests="qvl_win32_vst3_module_tests.exe"
    cp "$repo/build/$build/vst3/$vst3/Contents/${folder##*/}/$tests" "$folder/"
    (cd "$folder" && run "./$tests" >"$work/test-log") ||
        { cat "$work/test-log" >&2; fail "$situation: VST 3 tests fail with the module in $folder"; }
    rm "$folder/$tests"
}

uninstall() {
    run "C:\\Program Files\\$product\\uninstall.exe" /S >/dev/null || fail "$1: uninstaller failed"
    expect_clean_state "$1"
}

expect_refused() {
    local output status=0
    output="$(run "$setup" /S "$@")" || status=$?
    [ "$status" = 2 ] || fail "$situation: exit code $status, expected 2"
    grep -q "Nothing was installed" <<<"$output" || fail "$situation: no message (got '$output')"
    expect_clean_state "$situation"
}

product_dir="Program Files/$product"
manual=("$product_dir" "$product_dir/editor.png" "$product_dir/manual.md" "$product_dir/uninstall.exe")

# --- 64-bit Windows ----------------------------------------------------------------------------
use_fresh_prefix x86_64
remember_clean_state
echo "== 64-bit Windows: fresh prefix in $((SECONDS - start)) s"

situation="silent install"
run "$setup" /S >/dev/null || fail "$situation: exit code $?"
vst64="Program Files/Common Files/VST2"
vst32="Program Files (x86)/Common Files/VST2"
clap64="Program Files/Common Files/CLAP"
clap32="Program Files (x86)/Common Files/CLAP"
# What goes into the Common Files folders: the CLAP module of each architecture, and one VST 3
# bundle with both architectures' binaries.
common_files=("$clap64" "$clap64/$clap" "$clap32" "$clap32/$clap")
bundle="Program Files/Common Files/VST3/$vst3"
common_files+=("${bundle%/*}" "$bundle" "$bundle/Contents" "$bundle/Contents/x86_64-win"
    "$bundle/Contents/x86_64-win/$vst3" "$bundle/Contents/x86-win" "$bundle/Contents/x86-win/$vst3"
    "${vst3_resources[@]/#/$bundle/}")
expect_added "${manual[@]}" "${common_files[@]}" "$vst64" "$vst64/$dll" "$vst32" "$vst32/$dll"
expect_entry "$version"
file "$drive_c/$vst64/$dll" | grep -q 'PE32+ executable (DLL).*x86-64' || fail "$situation: 64-bit DLL"
file "$drive_c/$vst32/$dll" | grep -q 'PE32 executable (DLL).*Intel 80386' || fail "$situation: 32-bit DLL"
file "$drive_c/$bundle/Contents/x86_64-win/$vst3" | grep -q 'PE32+ executable (DLL).*x86-64' ||
    fail "$situation: 64-bit VST 3 module"
file "$drive_c/$bundle/Contents/x86-win/$vst3" | grep -q 'PE32 executable (DLL).*Intel 80386' ||
    fail "$situation: 32-bit VST 3 module"
cp "$drive_c/$vst64/$dll" "$work/new-64.dll"
expect_version_resource "$setup"
expect_version_resource "$drive_c/$product_dir/uninstall.exe"
expect_module_works "$drive_c/$vst64" windows-x64
expect_module_works "$drive_c/$vst32" windows-i686
expect_clap_works "$drive_c/$clap64" windows-x64
expect_clap_works "$drive_c/$clap32" windows-i686
expect_vst3_works "$drive_c/$bundle/Contents/x86_64-win" windows-x64
expect_vst3_works "$drive_c/$bundle/Contents/x86-win" windows-i686
uninstall "silent uninstall"
echo "== installed, tested in place, uninstalled in $((SECONDS - start)) s"

# An older setup: the same files, the DLLs marked so that the upgrade's can be told apart.
mkdir "$work/zip"
unzip -q "$zip" -d "$work/zip"
old_stage="$(echo "$work"/zip/*)"
for arch in 32-bit 64-bit; do echo "older build" >>"$old_stage/$arch/$dll"; done
# The setup takes each architecture's part of the VST 3 bundle from that architecture's folder.
for arch in 32-bit:x86-win 64-bit:x86_64-win; do
    mkdir -p "$old_stage/${arch%%:*}/$vst3/Contents"
    mv "$old_stage/$vst3/Contents/${arch#*:}" "$old_stage/${arch%%:*}/$vst3/Contents/"
done
[ ! -d "$old_stage/$vst3/Contents/Resources" ] ||
    mv "$old_stage/$vst3/Contents/Resources" "$old_stage/32-bit/$vst3/Contents/"
rm -r "${old_stage:?}/$vst3"
makensis -V1 -NOCD "-DQVL_PRODUCT_NSH=$repo/build/release/packaging/setup/setup-product.nsh" \
    "-DQVL_STAGE=$old_stage" "-DQVL_OUTFILE=$work/older-setup.exe" "-DQVL_VERSION_TEXT=0.0.01 test" \
    -DQVL_FILE_VERSION=0.0.1.0 "$repo/cmake/packaging/windows/setup.nsi" >/dev/null
situation="older setup into chosen folders"
run "$work/older-setup.exe" /S '/VST2DIR64=C:\Audio\VST 64' '/VST2DIR32=C:\Audio\VST 32' >/dev/null ||
    fail "$situation: exit code $?"
expect_entry "0.0.01 test"
cmp -s "$drive_c/Audio/VST 64/$dll" "$old_stage/64-bit/$dll" || fail "$situation: 64-bit DLL"
situation="upgrade"
run "$setup" /S >/dev/null || fail "$situation: exit code $?"
expect_added "${manual[@]}" "${common_files[@]}" Audio "Audio/VST 64" "Audio/VST 64/$dll" "Audio/VST 32" "Audio/VST 32/$dll"
expect_entry "$version"
cmp -s "$drive_c/Audio/VST 64/$dll" "$work/new-64.dll" || fail "$situation: 64-bit DLL not replaced"
situation="repair"
rm "$drive_c/Audio/VST 32/$dll"
run "$setup" /S >/dev/null || fail "$situation: exit code $?"
expect_added "${manual[@]}" "${common_files[@]}" Audio "Audio/VST 64" "Audio/VST 64/$dll" "Audio/VST 32" "Audio/VST 32/$dll"
uninstall "uninstall after upgrade"
echo "== upgrade from an older version and repair checked in $((SECONDS - start)) s"

situation="missing folder"
expect_refused '/VST2DIR32=Q:\no drive\VST2'
# Root writes anywhere; only an immutable folder refuses it (needs CAP_LINUX_IMMUTABLE).
mkdir "$readonly_folder"
if chattr +i "$readonly_folder" 2>/dev/null; then
    situation="read-only folder"
    expect_refused "/VST2DIR64=Z:${readonly_folder//\//\\}"
else
    echo "== read-only folder not checked: chattr +i is not permitted here"
fi
echo "== refusals checked in $((SECONDS - start)) s"
wineserver -k 2>/dev/null || true
rm -rf "$WINEPREFIX"

# --- 32-bit Windows ----------------------------------------------------------------------------
use_fresh_prefix i686
# A VST 2 folder that holds another plug-in already: the uninstaller leaves both alone.
vst32="Program Files/Common Files/VST2"
mkdir -p "$drive_c/$vst32"
echo "another vendor's plug-in" >"$drive_c/$vst32/another-plugin.dll"
remember_clean_state
situation="silent install on 32-bit Windows"
run "$setup" /S >/dev/null || fail "$situation: exit code $?"
expect_added "${manual[@]}" "$vst32/$dll" "Program Files/Common Files/CLAP" \
    "Program Files/Common Files/CLAP/$clap" "${bundle%/*}" "$bundle" "$bundle/Contents" \
    "$bundle/Contents/x86-win" "$bundle/Contents/x86-win/$vst3" "${vst3_resources[@]/#/$bundle/}"
expect_entry "$version"
file "$drive_c/$vst32/$dll" | grep -q 'PE32 executable (DLL).*Intel 80386' || fail "$situation: 32-bit DLL"
expect_module_works "$drive_c/$vst32" windows-i686
expect_clap_works "$drive_c/Program Files/Common Files/CLAP" windows-i686
expect_vst3_works "$drive_c/$bundle/Contents/x86-win" windows-i686
uninstall "uninstall on 32-bit Windows"
echo "== setup program checked in $((SECONDS - start)) s"
