#!/usr/bin/env bash
# Installs Velmora from a build tree the two ways a user can and checks what a Linux desktop
# finds there:
#   - `cmake --install` into a staged /usr tree (DESTDIR) and into a plain prefix: exactly the
#     expected files, binaries that run, icons of the size their folder names, velmora-cli's
#     manual page compressed as Debian wants and rendered by man without a warning;
#   - the desktop entry under desktop-file-validate, the metainfo under appstreamcli;
#   - `cpack -G DEB`: the package's control fields, its declared dependencies and contents;
#   - the program started from the desktop entry's Exec line in its own X server, its window
#     class matching the entry's StartupWMClass.
#
#   check_packaging.sh BUILD_DIR VERSION WORK_DIR
#
# Leaves nothing running (tests/support/desktop-session.sh); WORK_DIR keeps the trees, the
# package and the logs.
set -euo pipefail

build=$1
version=$2
work=$3
rm -rf "$work"
mkdir -p "$work"
out=$work
source "$(dirname "$0")/../support/desktop-session.sh"

app_id=org.example.Velmora
icon_sizes=(16 22 24 32 48 64 128 256)
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# Fails with a diff when two sorted lists differ.
same_list() {
    local what=$1 expected=$2 actual=$3
    if [ "$expected" != "$actual" ]; then
        fail "$what differ from the expected (- expected, + found):"
        diff <(echo "$expected") <(echo "$actual") | grep '^[<>]' | sed 's/^</-/; s/^>/+/' >&2
    fi
}

# Fails unless FILE holds every line of standard input as a whole line.
has_lines() {
    local what=$1 file=$2 line
    while IFS= read -r line; do
        grep -Fxq -- "$line" "$file" || fail "$what lacks the line: $line"
    done
}

# Every file an installation holds, relative to its prefix.
expected_files=$(
    {
        echo bin/Velmora
        echo bin/velmora-cli
        echo share/man/man1/velmora-cli.1.gz
        echo "share/applications/$app_id.desktop"
        echo "share/metainfo/$app_id.metainfo.xml"
        echo share/doc/velmora/copyright
        for size in "${icon_sizes[@]}"; do
            echo "share/icons/hicolor/${size}x${size}/apps/$app_id.png"
        done
        echo "share/icons/hicolor/scalable/apps/$app_id.svg"
    } | LC_ALL=C sort
)

files_under() {
    (cd "$1" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort)
}

echo "== cmake --install"
stage=$work/stage
DESTDIR=$stage cmake --install "$build" --prefix /usr >"$work/install-stage.log"
same_list "files under DESTDIR/usr" "$expected_files" "$(files_under "$stage/usr")"
outside=$(files_under "$stage" | grep -v '^usr/' || true)
[ -z "$outside" ] || fail "files installed outside /usr: $outside"
cmake --install "$build" --prefix "$work/prefix" >"$work/install-prefix.log"
same_list "files under a plain prefix" "$expected_files" "$(files_under "$work/prefix")"
root=$stage/usr

echo "== installed files"
for program in Velmora velmora-cli; do
    [ -x "$root/bin/$program" ] || fail "bin/$program is not executable"
    file -b "$root/bin/$program" | grep -q '^ELF .* executable' ||
        fail "bin/$program is not an ELF executable: $(file -b "$root/bin/$program")"
done
# velmora-cli runs its session from standard input: Reset, then the table.
cli_table=$(printf 'table\n' | LC_ALL=C.UTF-8 "$root/bin/velmora-cli")
[ "$(sed -n 2p <<<"$cli_table")" = "Шаг (см)=1" ] ||
    fail "the installed velmora-cli printed an unexpected table: $cli_table"
# The manual page: gzip -9 without a stored name or time (Debian's policy for manual pages),
# the version in its title line, and man renders it without a warning.
man_page=$root/share/man/man1/velmora-cli.1.gz
kind=$(file -b "$man_page")
[[ $kind == "gzip compressed data, max compression, from Unix, original size"* ]] ||
    fail "the manual page is not compressed with gzip -9n: $kind"
title=$(zcat "$man_page" | sed -n 1p)
[[ $title == *" \"Velmora $version\" "* ]] || fail "the manual page's title line: $title"
man_warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$man_page" 2>&1 >/dev/null) ||
    fail "man cannot render the manual page"
[ -z "$man_warnings" ] || fail "man warns about the manual page: $man_warnings"
for size in "${icon_sizes[@]}"; do
    icon=$root/share/icons/hicolor/${size}x${size}/apps/$app_id.png
    kind=$(file -b "$icon")
    [[ $kind == "PNG image data, $size x $size, 8-bit/color RGBA"* ]] ||
        fail "the ${size}x${size} icon is: $kind"
done
svg=$root/share/icons/hicolor/scalable/apps/$app_id.svg
[ "$(file -b "$svg")" = "SVG Scalable Vector Graphics image" ] || fail "the scalable icon is not SVG"
# The SVG draws the same picture as the 256-pixel PNG: its filters make the same glow.
if rsvg-convert -w 256 -h 256 "$svg" -o "$work/svg-256.png"; then
    difference=$(compare -metric RMSE "$root/share/icons/hicolor/256x256/apps/$app_id.png" \
        "$work/svg-256.png" null: 2>&1 | sed 's/.*(\(.*\))/\1/' || true)
    echo "SVG against the 256-pixel PNG: RMSE $difference"
    awk -v d="$difference" 'BEGIN { exit !(d != "" && d + 0 < 0.04) }' ||
        fail "the SVG rendered at 256 pixels differs from the PNG (RMSE $difference)"
else
    fail "rsvg-convert cannot render the scalable icon"
fi

echo "== desktop entry"
desktop=$root/share/applications/$app_id.desktop
desktop-file-validate "$desktop" >"$work/desktop-file-validate.log" 2>&1 ||
    fail "desktop-file-validate rejects the entry"
cat "$work/desktop-file-validate.log"
if grep -E ': (error|warning):' "$work/desktop-file-validate.log" >&2; then
    fail "desktop-file-validate reports errors or warnings"
fi
has_lines "the desktop entry" "$desktop" <<END_OF_LINES
[Desktop Entry]
Type=Application
Name=Velmora
Comment=Explore the magnetic field of a circular current with a movable field probe
Comment[ru]=Исследование магнитного поля кругового тока
Exec=Velmora
Icon=$app_id
Terminal=false
Categories=Education;Science;Physics;
StartupWMClass=Velmora
END_OF_LINES
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
[ -x "$root/bin/${exec_line%% *}" ] || fail "Exec= names no installed program: $exec_line"

echo "== metainfo"
metainfo=$root/share/metainfo/$app_id.metainfo.xml
appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 ||
    fail "appstreamcli validate rejects the metainfo"
cat "$work/appstream.log"
# Pedantic remarks are fixed, except the capital letter of the id, which the desktop entry's
# and the icon's file names share.
appstreamcli validate --no-net --pedantic "$metainfo" >"$work/appstream-pedantic.log" 2>&1 ||
    true
if grep -E '^[EWIP]: ' "$work/appstream-pedantic.log" |
    grep -v 'cid-contains-uppercase-letter' >&2; then
    fail "appstreamcli validate --pedantic has remarks"
fi
# The whole tree: the metainfo's launchable against the installed desktop entry.
appstreamcli validate-tree --no-net "$stage" >"$work/appstream-tree.log" 2>&1 ||
    fail "appstreamcli validate-tree rejects the installed tree: $(cat "$work/appstream-tree.log")"
sed 's/^ *//' "$metainfo" >"$work/metainfo-lines"
has_lines "the metainfo" "$work/metainfo-lines" <<END_OF_LINES
<id>$app_id</id>
<metadata_license>CC0-1.0</metadata_license>
<project_license>MIT</project_license>
<name>Velmora</name>
<launchable type="desktop-id">$app_id.desktop</launchable>
<image>https://example.org/velmora/docs/screenshot.png</image>
<content_rating type="oars-1.1"/>
END_OF_LINES
grep -Eq "^<release version=\"$version\" date=\"[0-9]{4}-[0-9]{2}-[0-9]{2}\">$" \
    "$work/metainfo-lines" || fail "the metainfo has no release $version"

echo "== Debian package"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" >"$work/cpack.log" 2>&1 ||
    fail "cpack -G DEB failed: $(tail -5 "$work/cpack.log")"
arch=$(dpkg --print-architecture)
deb=$work/deb/velmora_${version}_$arch.deb
if [ -f "$deb" ]; then
    dpkg-deb -I "$deb"
    while IFS='|' read -r field value; do
        actual=$(dpkg-deb -f "$deb" "$field")
        [ "$actual" = "$value" ] || fail "$field: is \"$actual\", expected \"$value\""
    done <<END_OF_FIELDS
Package|velmora
Version|$version
Architecture|$arch
Section|education
Priority|optional
Maintainer|Velmora developers <velmora@example.org>
Homepage|https://example.org/velmora/
Recommends|qt6-wayland
END_OF_FIELDS
    depends=$(dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed 's/^ *//; s/ .*//' | LC_ALL=C sort)
    for package in libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6 libqcustomplot2.1-qt6 \
        libjpeg62-turbo fonts-liberation2 qt6-translations-l10n libc6 libstdc++6; do
        grep -Fxq "$package" <<<"$depends" || fail "Depends lacks $package"
    done
    # Regular files only, their paths relative to /usr.
    same_list "files in the package" "$expected_files" \
        "$(dpkg-deb -c "$deb" | awk '/^-/ { print $6 }' | sed 's|^\./usr/||' | LC_ALL=C sort)"
    contents=$(dpkg-deb -c "$deb")
    grep -Eq '^-rw-r--r-- .* \./usr/share/man/man1/velmora-cli\.1\.gz$' <<<"$contents" ||
        fail "the package's manual page is not a plain file readable by all"
    dpkg-deb -x "$deb" "$work/deb/unpacked"
    cmp -s "$work/deb/unpacked/usr/share/man/man1/velmora-cli.1.gz" "$man_page" ||
        fail "the package's manual page differs from the installed one"
    for program in Velmora velmora-cli; do
        file -b "$work/deb/unpacked/usr/bin/$program" | grep -q ', stripped' ||
            fail "the package's $program is not stripped"
    done
else
    fail "cpack made no $deb"
fi

echo "== started from the desktop entry"
if ! start_x_server 1280 1024; then
    fail "Xvfb did not start"
    exit 1
fi
# As a launcher does: the Exec line split into words, the program looked up on PATH.
read -r -a command <<<"$exec_line"
PATH="$root/bin:$PATH" LC_ALL=C.UTF-8 "${command[@]}" >"$work/program.log" 2>&1 &
program_pid=$!
pids+=("$program_pid")
if wait_for 30 xdotool search --onlyvisible --pid "$program_pid"; then
    window=$(xdotool search --onlyvisible --pid "$program_pid" | head -1)
    wm_class=$(xprop -id "$window" WM_CLASS)
    echo "$wm_class"
    startup_class=$(sed -n 's/^StartupWMClass=//p' "$desktop")
    [[ $wm_class == *", \"$startup_class\"" ]] ||
        fail "the window's class is not the entry's StartupWMClass $startup_class: $wm_class"
    title=$(xdotool getwindowname "$window")
    [ "$title" = "Velmora - Исследование магнитного поля кругового тока" ] ||
        fail "the window started from the entry is: $title"
else
    fail "no window of the program started from the desktop entry: $(cat "$work/program.log")"
fi

if ((failures > 0)); then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "all packaging checks passed"
