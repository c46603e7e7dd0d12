#!/usr/bin/env bash
# Checks the Debian package that `cmake --build <build-dir> --target package` makes.
# Run by ctest (label "package"), one check per call:
#   tests/package/check_package.sh build|contents|validators|lintian|runs <build-dir> <version>
# "build" makes the package and unpacks it into <build-dir>/package-root; the other checks read that.
# The tools come from tools/bootstrap.sh; a missing tool is a failure, never a skip.
set -euo pipefail

check=$1
build=$2
version=$3
deb="$build/davirodir_${version}_$(dpkg --print-architecture).deb"
root="$build/package-root"
app_id=example.zevarir.Davirodir

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

need() {
    for tool in "$@"; do
        command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing; run tools/bootstrap.sh" >&2; exit 1; }
    done
}

case "$check" in
build)
    need dpkg-deb dpkg-shlibdeps file
    rm -f "$deb"
    cmake --build "$build" --target package
    [ -f "$deb" ] || { echo "FAIL: no $deb" >&2; exit 1; }
    rm -rf "$root"
    dpkg-deb -x "$deb" "$root"
    ;;

contents)
    need dpkg-deb file
    # Every regular file the package holds, and nothing else.
    expected=$(sort <<LIST
./usr/bin/Davirodir
./usr/share/applications/$app_id.desktop
./usr/share/doc/davirodir/changelog.gz
./usr/share/doc/davirodir/copyright
./usr/share/icons/hicolor/128x128/apps/$app_id.png
./usr/share/icons/hicolor/256x256/apps/$app_id.png
./usr/share/icons/hicolor/48x48/apps/$app_id.png
./usr/share/icons/hicolor/scalable/apps/$app_id.svg
./usr/share/man/man1/Davirodir.1.gz
./usr/share/metainfo/$app_id.metainfo.xml
LIST
)
    actual=$(dpkg-deb --contents "$deb" | awk '$1 ~ /^-/ { print $NF }' | sort)
    [ "$actual" = "$expected" ] || fail "package files differ from the list:
$(diff <(echo "$expected") <(echo "$actual") || true)"

    # Name, version and the dependencies dpkg-shlibdeps found for the executable.
    [ "$(dpkg-deb -f "$deb" Package)" = davirodir ] || fail "package name"
    [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version is not $version"
    depends=$(dpkg-deb -f "$deb" Depends)
    for lib in libc6 libstdc++6 libasound2 libfreetype6; do
        grep -q "\b$lib\b" <<<"$depends" || fail "Depends lacks $lib: $depends"
    done

    # Each icon is as large as the directory it lies in says.
    for size in 48 128 256; do
        file -b "$root/usr/share/icons/hicolor/${size}x$size/apps/$app_id.png" \
            | grep -q "PNG image data, $size x $size," || fail "the ${size}x$size icon is not $size pixels square"
    done
    file -b "$root/usr/share/icons/hicolor/scalable/apps/$app_id.svg" | grep -q SVG || fail "the scalable icon is no SVG"

    # The pieces name each other: the entry starts the installed executable
    # and shows the installed icon; the metainfo launches the installed entry.
    entry="$root/usr/share/applications/$app_id.desktop"
    exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
    icon_name=$(sed -n 's/^Icon=//p' "$entry")
    [ -x "$root/usr/bin/$exec_name" ] || fail "Exec=$exec_name is not an installed executable"
    [ "$icon_name" = "$app_id" ] || fail "Icon=$icon_name is not the installed icon $app_id"
    launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' \
        "$root/usr/share/metainfo/$app_id.metainfo.xml")
    [ "$launchable" = "$app_id.desktop" ] || fail "the metainfo launches $launchable"
    metainfo=$(cat "$root/usr/share/metainfo/$app_id.metainfo.xml")
    for element in "<summary>" "<description>" "<project_license>GPL-3.0-or-later</project_license>" \
        "<screenshot type=\"default\">" "<image>https://"; do
        grep -qF "$element" <<<"$metainfo" || fail "the metainfo lacks $element"
    done

    # The manual page renders without a warning and documents every switch.
    need man
    page="$root/usr/share/man/man1/Davirodir.1.gz"
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null || true)
    [ -z "$warnings" ] || fail "man reports: $warnings"
    text=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$page" 2>/dev/null | col -b)
    for switch in --file --autoupdate --outputid --inputid --help --version --list-outputs \
        DAVIRODIR_VIRTUAL_MIDI_OUTPUTS DAVIRODIR_VIRTUAL_MIDI_CAPTURE xvfb-run "Davirodir $version"; do
        grep -q -- "$switch" <<<"$text" || fail "the manual page does not mention $switch"
    done
    ;;

validators)
    need desktop-file-validate appstreamcli
    # It exits 0 even on errors it calls "fatal in the future"; any remark fails.
    remarks=$(desktop-file-validate "$root/usr/share/applications/$app_id.desktop" 2>&1) || fail "desktop-file-validate"
    [ -z "$remarks" ] || fail "desktop-file-validate: $remarks"
    # Strict: every remark but the pedantic ones fails, save that the
    # validator does not know the .example domain the id is made from.
    appstreamcli validate --no-net --explain --strict --override=cid-maybe-not-rdns=pedantic \
        "$root/usr/share/metainfo/$app_id.metainfo.xml" || fail "appstreamcli validate"
    ;;

lintian)
    need lintian
    # Errors and warnings fail the check (there are none today); the notes
    # that remain are listed for the reader.
    out=$(lintian --tag-display-limit 0 --display-info "$deb" 2>&1) || true
    echo "$out"
    if grep -q '^[EW]: ' <<<"$out"; then
        fail "lintian reports errors or warnings"
    fi
    ;;

runs)
    # The installed executable, with no display, as a packaging script would call it.
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/Davirodir" --version) || fail "--version exits with $?"
    [ "$out" = "Davirodir $version" ] || fail "--version prints '$out'"
    ;;

*)
    echo "unknown check: $check" >&2
    exit 2
    ;;
esac

[ "$failures" -eq 0 ] || exit 1
echo "$check: ok"
