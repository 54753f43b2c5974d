#!/usr/bin/env bash
# Builds the Debian package from the built tree, checks its files and control fields, unpacks
# it into a scratch root and runs the installed programs from there. The root is left for the
# live test of the installed program.
set -euo pipefail
cpack=$1 build=$2 source=$3 work=$4 app_id=$5 version=$6

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# A previous run's root may have been made read-only by the live test.
[ -d "$work" ] && chmod -R u+w "$work"
rm -rf "$work"
mkdir -p "$work"

(cd "$build" && "$cpack" -B "$work/cpack" > "$work/cpack.log" 2>&1) || {
    cat "$work/cpack.log" >&2
    fail "cpack"
}
debs=("$work"/cpack/kesmaro_"$version"_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "no single package in $work/cpack"
deb=${debs[0]}
echo "package: $deb"

# Files: everything under /usr, the expected ones present.
dpkg-deb --fsys-tarfile "$deb" | tar -t | sed -e 's#^\./#/#' -e 's#/$##' | grep -v '^/\?$' \
    > "$work/files.txt"
if grep -v '^/usr' "$work/files.txt"; then fail "files outside /usr"; fi
expected=(
    /usr/bin/kesmaro /usr/bin/kesmaro-replay /usr/bin/kesmaro-simgame
    "/usr/share/applications/$app_id.desktop" "/usr/share/metainfo/$app_id.metainfo.xml"
    "/usr/share/icons/hicolor/scalable/apps/$app_id.svg"
    "/usr/share/icons/hicolor/48x48/apps/$app_id.png"
    "/usr/share/icons/hicolor/128x128/apps/$app_id.png"
    "/usr/share/icons/hicolor/256x256/apps/$app_id.png"
    /usr/share/man/man1/kesmaro.1.gz /usr/share/man/man1/kesmaro-replay.1.gz
    /usr/share/man/man1/kesmaro-simgame.1.gz
    /usr/share/doc/kesmaro/copyright /usr/share/doc/kesmaro/changelog.gz
)
# The help documents, as many as the tree has.
if [ -d "$source/docs/help" ]; then
    while IFS= read -r -d '' f; do
        expected+=("/usr/share/doc/kesmaro/${f#"$source/docs/help/"}")
    done < <(find "$source/docs/help" -type f -print0)
fi
for f in "${expected[@]}"; do
    grep -qxF "$f" "$work/files.txt" || fail "missing from the package: $f"
done

# Control fields.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = kesmaro ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ -n "$(field Section)" ] || fail "no Section"
depends=$(field Depends)
for p in libqt6core6 libqt6gui6 libqt6widgets6 libxcb1 libxcb-shm0 libxcb-xinput0 libpulse0; do
    [[ ", $depends," == *", $p "* || ", $depends," == *", $p,"* ]] ||
        fail "Depends lacks $p: $depends"
done
[[ "$(field Recommends)" == *fonts-noto-cjk* ]] || fail "Recommends: $(field Recommends)"
# No maintainer scripts: the control archive holds the control file and the checksums only.
mkdir "$work/control"
dpkg-deb -e "$deb" "$work/control"
scripts=$(ls "$work/control" | grep -vxE 'control|md5sums' || true)
[ -z "$scripts" ] || fail "control archive holds $scripts"

# Installed into a scratch root, run from there.
root="$work/root"
dpkg -x "$deb" "$root"
[ "$("$root/usr/bin/kesmaro" --version)" = "$("$build/src/ui/qt/kesmaro" --version)" ] ||
    fail "installed kesmaro --version: $("$root/usr/bin/kesmaro" --version)"
# A golden replay with the installed programs gives the same files as the built ones.
QT_QPA_PLATFORM=offscreen bash "$source/tests/e2e/run_e2e.sh" \
    "$root/usr/bin/kesmaro-replay" "$root/usr/bin/kesmaro-simgame" \
    "$source/tests/e2e/scenarios/basic" "$source/tests/e2e/golden/basic" "$work/replay" ||
    fail "the installed kesmaro-replay"

# One licence everywhere: the copyright file carries the terms of LICENSE (MIT, which Debian
# calls Expat) and the AppStream description names it.
copyright="$root/usr/share/doc/kesmaro/copyright"
grep -qxF 'License: Expat' "$copyright" || fail "the copyright file names no Expat licence"
if grep -qi 'no licence\|not covered' "$copyright"; then fail "the copyright file withholds a licence"; fi
awk '/^License: Expat$/ { n++ } n == 2 && /^ / { sub(/^ /, ""); if ($0 == ".") $0 = ""; print }' \
    "$copyright" > "$work/licence-terms.txt"
sed -n '/^Permission/,$p' "$source/LICENSE" | cmp -s - "$work/licence-terms.txt" ||
    fail "the copyright file's terms differ from LICENSE"
[ "$(head -n 1 "$source/LICENSE")" = "MIT License" ] || fail "LICENSE is not the MIT licence"
grep -qF '<project_license>MIT</project_license>' \
    "$root/usr/share/metainfo/$app_id.metainfo.xml" || fail "the metainfo's project_license"

# The desktop files as installed.
desktop-file-validate "$root/usr/share/applications/$app_id.desktop" ||
    fail "desktop-file-validate"
appstreamcli validate --no-net "$root/usr/share/metainfo/$app_id.metainfo.xml" ||
    fail "appstreamcli validate"
# Lintian, where installed: no errors or warnings (information tags are listed only).
if command -v lintian > /dev/null; then
    lintian --fail-on error,warning --display-info "$deb" 2>&1 |
        grep -v 'running with root privileges' || true
    lintian --fail-on error,warning "$deb" > /dev/null 2>&1 || fail "lintian"
fi
echo "package checks passed"
