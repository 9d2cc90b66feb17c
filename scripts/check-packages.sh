#!/usr/bin/env bash
# Builds the release packages and checks them as a user would meet them: the contents of the
# .deb, the .tar.gz and the Windows .zip, the Windows setup program under Wine
# (scripts/windows/check-setup.sh), lintian on the .deb, then installing the .deb with
# apt-get, rendering the demo through the installed plug-in and removing the package again.
# Needs root (apt-get) and the release preset; the .zip and the setup program need the two
# Windows builds (scripts/windows/run-tests.sh makes them).
set -euo pipefail
cd "$(dirname "$0")/.."
repo="$PWD"

packages=build/release/packages
fail() {
    echo "check-packages.sh: $*" >&2
    exit 1
}

start=$SECONDS
cmake --preset release >/dev/null
# The product's names as the build made them: module_name, lv2_uri.
. build/release/generated/identity/product-identity.sh
name=$module_name
rm -rf "$packages"
cmake --build --preset release --target package
echo "== packages built in $((SECONDS - start)) s"

deb="$(find "$packages" -name "${name}_*_amd64.deb")"
tgz="$(find "$packages" -name "$name-*-linux-*.tar.gz")"
zip="$(find "$packages" -name "$name-*-windows.zip")"
[ -n "$deb" ] || fail "no .deb in $packages"
[ -n "$tgz" ] || fail "no .tar.gz in $packages"
[ -n "$zip" ] || fail "no Windows .zip in $packages"
ls -l "$deb" "$tgz" "$zip"

# --- .deb: name, version and contents ----------------------------------------------------
version="$(build/release/tools/qvl-render/qvl-render --version | head -n 1 | cut -d' ' -f2-)"
deb_version="$(dpkg-deb -f "$deb" Version)"
[ "$deb_version" = "${version/ /\~}" ] || fail "package version $deb_version, tools say $version"
[ "$(basename "$deb")" = "${name}_${deb_version}_amd64.deb" ] || fail "file name $(basename "$deb")"
depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
# Computed from the binaries: the plug-in's drawing library and the renderer's sound files.
for lib in libc6 libcairo2 libsndfile1; do
    grep -q "\b$lib\b" <<<"$depends" || fail "Depends lacks $lib"
done
# The description's summary names every edition the package carries.
description="$(dpkg-deb -f "$deb" Description)"
for edition in 'VST 2.4' 'VST 3' LV2 CLAP; do
    grep -q "$edition" <<<"${description%%$'\n'*}" ||
        fail "the description's summary does not name the $edition edition"
done
deb_files="$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./usr/||' | sort)"
echo "$deb_files"
for file in lib/vst/$name.so lib/vst3/$name.vst3/Contents/x86_64-linux/$name.so \
    lib/lv2/$name.lv2/manifest.ttl lib/lv2/$name.lv2/$name-dsp.so \
    lib/lv2/$name.lv2/$name-ui.so bin/qvl-render bin/qvl-snapshot \
    share/doc/$name/manual.md share/doc/$name/qvl-render.md share/doc/$name/copyright \
    share/doc/$name/changelog.gz \
    share/man/man1/qvl-render.1.gz share/man/man1/qvl-snapshot.1.gz; do
    grep -qx "$file" <<<"$deb_files" || fail ".deb lacks /usr/$file"
done
[ "$(grep -vc '^lib/vst/\|^lib/vst3/\|^lib/lv2/\|^lib/clap/\|^bin/\|^share/man/man1/\|^share/doc/'"$name"'/' <<<"$deb_files")" = 0 ] ||
    fail ".deb has files outside the plug-in, tool and documentation folders"
# Every picture the manual shows is in the package beside it.
for picture in $(grep -o '([a-z0-9-]*\.png)' docs/manual.md | tr -d '()'); do
    grep -qx "share/doc/$name/$picture" <<<"$deb_files" || fail ".deb lacks $picture, which the manual shows"
done
# The manual pages come from the tools' --help texts: no build-tree default may show there.
for page in qvl-render qvl-snapshot; do
    text="$(dpkg-deb --fsys-tarfile "$deb" | tar -xOf - "./usr/share/man/man1/$page.1.gz" | zcat)"
    if grep -q 'built with this tool' <<<"$text"; then
        fail "the $page manual page names a build-tree default"
    fi
done

# --- .tar.gz: the same files, plus the install text -----------------------------------------
tgz_files="$(tar -tzf "$tgz" | grep -v '/$' | cut -d/ -f2- | sort)"
[ "$(grep -vx INSTALL.txt <<<"$tgz_files")" = "$deb_files" ] ||
    fail ".tar.gz and .deb differ: $(diff <(echo "$deb_files") <(echo "$tgz_files") || true)"
grep -qx INSTALL.txt <<<"$tgz_files" || fail ".tar.gz lacks INSTALL.txt"
# As INSTALL.txt says: the plug-in copied into ~/.vst and the renderer into ~/.local/bin, where it
# finds the plug-in with no --plugin and no trace of the build machine's folders.
user_home="$(mktemp -d)"
tar -xzf "$tgz" -C "$user_home"
unpacked_tgz="$(find "$user_home" -mindepth 1 -maxdepth 1 -type d)"
mkdir -p "$user_home/.vst" "$user_home/.local/bin" "$user_home/work"
cp "$unpacked_tgz/lib/vst/$name.so" "$user_home/.vst/"
cp "$unpacked_tgz/bin/qvl-render" "$user_home/.local/bin/"
rm -rf "$unpacked_tgz"
copied_version="$(cd "$user_home/work" && HOME="$user_home" "$user_home/.local/bin/qvl-render" --version)"
grep -qF "($user_home/.vst/$name.so)" <<<"$copied_version" ||
    fail "the copied qvl-render does not find ~/.vst/$name.so: $copied_version"
(cd "$user_home/work" && HOME="$user_home" "$user_home/.local/bin/qvl-render" >/dev/null) ||
    fail "the copied qvl-render does not render the demo"
[ -s "$user_home/work/demo-processed.wav" ] || fail "the copied qvl-render wrote no demo-processed.wav"
rm -rf "$user_home"

# --- .zip: each architecture's DLL in its folder, the manual ----------------------------------
zip_files="$(zipinfo -1 "$zip" | grep -v '/$' | cut -d/ -f2- | sort)"
echo "$zip_files"
expected="$(printf '%s\n' 32-bit/$name.dll 64-bit/$name.dll 32-bit/$name.clap 64-bit/$name.clap \
    $name.vst3/Contents/x86-win/$name.vst3 $name.vst3/Contents/x86_64-win/$name.vst3 \
    $(sed -n 's|^lib/vst3/\(.*/Contents/Resources/\)|\1|p' <<<"$deb_files") \
    INSTALL.txt editor.png editor-200.png manual.md | sort)"
[ "$zip_files" = "$expected" ] || fail ".zip holds: $zip_files"
unpacked="$(mktemp -d)"
trap 'rm -rf "$unpacked"' EXIT
unzip -q "$zip" -d "$unpacked"
file "$unpacked"/*/32-bit/$name.dll | grep -q 'PE32 executable (DLL).*Intel 80386' ||
    fail "32-bit/$name.dll is not a 32-bit DLL"
file "$unpacked"/*/64-bit/$name.dll | grep -q 'PE32+ executable (DLL).*x86-64' ||
    fail "64-bit/$name.dll is not a 64-bit DLL"
# The packaged (stripped) DLLs load and work in a host: the Windows builds' module and editor
# window tests, run beside them under Wine.
for arch in 32-bit:windows-i686:wine-run.sh 64-bit:windows-x64:wine64-run.sh; do
    IFS=: read -r folder build runner <<<"$arch"
    for test in qvl_win32_module_tests qvl_windows_editor_window_tests; do
        cp "build/$build/formats/vst2/$test.exe" "$unpacked"/*/"$folder"/
        (cd "$unpacked"/*/"$folder" && "$repo/scripts/windows/$runner" "./$test.exe" >/dev/null) ||
            fail "$test fails with the packaged $folder DLL"
    done
done

# --- the CLAP edition in each package -------------------------------------------------------
# Linux: one module exporting clap_entry and nothing else, where CLAP hosts look (/usr/lib/clap);
# from the .tar.gz copied into ~/.clap as INSTALL.txt says.
grep -qx "lib/clap/$name.clap" <<<"$deb_files" || fail ".deb lacks /usr/lib/clap/$name.clap"
clap_dir="$(mktemp -d)"
dpkg-deb -x "$deb" "$clap_dir"
clap_exports="$(nm -D --defined-only "$clap_dir/usr/lib/clap/$name.clap" | awk '{print $3}')"
[ "$clap_exports" = clap_entry ] || fail "the .deb's $name.clap exports: $clap_exports"
rm -rf "$clap_dir"
for folder in '~/\.vst/' '~/\.vst3/' '~/\.lv2/' '~/\.clap/'; do
    grep -q "$folder" <<<"$(tar -xzOf "$tgz" --wildcards '*/INSTALL.txt')" ||
        fail "the .tar.gz's INSTALL.txt does not name $folder"
    grep -q "$folder" <<<"$(tar -xzOf "$tgz" --wildcards "*/share/doc/$name/manual.md")" ||
        fail "the manual's table does not name $folder"
done
# Windows: each architecture's .clap beside its DLL, a DLL of that architecture exporting
# clap_entry, with its own version resource, that sounds as the Linux build (the test program
# beside the file reads the one and renders the factory programs through our CLAP host).
for arch in 32-bit:windows-i686:wine-run.sh:'PE32 executable (DLL).*Intel 80386' \
    64-bit:windows-x64:wine64-run.sh:'PE32+ executable (DLL).*x86-64'; do
    IFS=: read -r folder build runner kind <<<"$arch"
    clap="$(echo "$unpacked"/*/"$folder/$name.clap")"
    file "$clap" | grep -q "$kind" || fail "$folder/$name.clap is not a $folder DLL"
    # Read whole first: grep -q would end the pipe early and fail objdump under pipefail.
    clap_dump="$(objdump -p "$clap")"
    grep -q '\] clap_entry$' <<<"$clap_dump" || fail "$folder/$name.clap does not export clap_entry"
    cp "build/$build/formats/clap/qvl_win32_clap_module_tests.exe" "$(dirname "$clap")/"
    (cd "$(dirname "$clap")" && "$repo/scripts/windows/$runner" ./qvl_win32_clap_module_tests.exe >/dev/null) ||
        fail "qvl_win32_clap_module_tests fails with the packaged $folder/$name.clap"
done
grep -q 'Common Files\\CLAP' "$(echo "$unpacked"/*/INSTALL.txt)" ||
    fail "the .zip's INSTALL.txt does not name the CLAP folder"

# --- the VST 3 edition in the .zip ----------------------------------------------------------
# One bundle with a DLL of each architecture, exporting the factory and the Windows module
# entries, with its own version resource, that sounds as the Linux build (the test program
# beside the file reads the one and renders the factory programs through our VST 3 host).
for arch in x86-win:windows-i686:wine-run.sh:'PE32 executable (DLL).*Intel 80386' \
    x86_64-win:windows-x64:wine64-run.sh:'PE32+ executable (DLL).*x86-64'; do
    IFS=: read -r folder build runner kind <<<"$arch"
    vst3="$(echo "$unpacked"/*/"$name.vst3/Contents/$folder/$name.vst3")"
    file "$vst3" | grep -q "$kind" || fail "$folder/$name.vst3 is not a $folder DLL"
    vst3_exports="$(objdump -p "$vst3" | sed -n '/Ordinal\/Name Pointer/,/^$/s/^\s*\[ *[0-9]*\] //p' |
        sort | tr '\n' ' ')"
    [ "$vst3_exports" = "ExitDll GetPluginFactory InitDll " ] ||
        fail "$folder/$name.vst3 exports: $vst3_exports"
    cp "build/$build/vst3/$name.vst3/Contents/$folder/qvl_win32_vst3_module_tests.exe" "$(dirname "$vst3")/"
    (cd "$(dirname "$vst3")" && "$repo/scripts/windows/$runner" ./qvl_win32_vst3_module_tests.exe >/dev/null) ||
        fail "qvl_win32_vst3_module_tests fails with the packaged $folder/$name.vst3"
done
grep -q 'Common Files\\VST3' "$(echo "$unpacked"/*/INSTALL.txt)" ||
    fail "the .zip's INSTALL.txt does not name the VST 3 folder"

# --- Windows setup program: installed, used, upgraded and uninstalled under Wine ------------------
setup="$(find "$packages" -name "$name-*-windows-setup.exe")"
[ -n "$setup" ] || fail "no Windows setup program in $packages"
bash scripts/windows/check-setup.sh "$setup" "$zip" || fail "the Windows setup program fails its checks"

# --- lintian --------------------------------------------------------------------------------
echo "== lintian"
lintian --fail-on error "$deb" || fail "lintian reports errors"

# --- install, render through the installed plug-in, remove ------------------------------------
apt_get() { DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 -q -y "$@"; }
if [ "$(dpkg-query -W -f='${db:Status-Status}' "$name" 2>/dev/null)" = installed ]; then
    apt_get remove "$name"
fi
echo "== apt-get install $deb"
apt_get install "./$deb"
installed_version="$(/usr/bin/qvl-render --version)"
[ "$(head -n 1 <<<"$installed_version")" = "qvl-render $version" ] || fail "installed qvl-render --version"
grep -q "^Plug-in: .*(/usr/lib/vst/$name.so)" <<<"$installed_version" ||
    fail "installed qvl-render --version does not name the installed plug-in"
# Installed, the renderer's default plug-in is the installed one, not the build tree's.
/usr/bin/qvl-render --info | grep -qx "Module: */usr/lib/vst/$name.so" ||
    fail "the installed qvl-render does not default to the installed plug-in"
render_dir="$(mktemp -d)"
(cd "$render_dir" && /usr/bin/qvl-render --plugin /usr/lib/vst/$name.so) ||
    fail "rendering the demo through the installed plug-in failed"
[ -s "$render_dir/demo-processed.wav" ] || fail "no demo-processed.wav"
# The quick start run twice: the demo replaces its own files.
(cd "$render_dir" && /usr/bin/qvl-render >/dev/null) || fail "a second demo run failed"
# The LV2 edition is found where LV2 hosts look, by its URI, and renders the same demo.
uri=$lv2_uri
lv2ls | grep -qx "$uri" || fail "lv2ls does not list the installed LV2 edition"
(cd "$render_dir" && /usr/bin/qvl-render --plugin "$uri" --output demo-lv2.wav) ||
    fail "rendering the demo through the installed LV2 edition failed"
[ -s "$render_dir/demo-lv2.wav" ] || fail "no demo-lv2.wav"
rm -rf "$render_dir"
echo "== apt-get remove $name"
apt_get remove "$name"
[ ! -e /usr/lib/vst/$name.so ] && [ ! -e /usr/lib/vst3/$name.vst3 ] && [ ! -e /usr/lib/lv2/$name.lv2 ] &&
    [ ! -e /usr/lib/clap/$name.clap ] &&
    [ ! -e /usr/bin/qvl-render ] || fail "files left after removal"
echo "== packages checked in $((SECONDS - start)) s"
