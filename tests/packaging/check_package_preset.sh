#!/usr/bin/env bash
# The package preset, which `tools/dev run` builds on a machine that has only the run list of
# packages, checked where both lists are installed:
#   - every package is named once in tools/debian-packages-run.txt and -test.txt together;
#   - what configuring the preset finds (its CMake packages, compiler, build tools, gzip and
#     xcb) belongs to a package that the run list installs, and every package that the Debian
#     package declares besides the libraries it links (a face, Qt's translations) is named in
#     it: a package the programs need that sits in the test list alone is missed only on a
#     machine that never ran the test command;
#   - the preset builds: it compiles the shell as a unity build, which the test build does not.
#
#   check_package_preset.sh SOURCE_DIR WORK_DIR
#
# WORK_DIR keeps the preset's tree, so the next run builds only what changed.
set -euo pipefail

source=$1
work=$2
tree=$work/tree
mkdir -p "$work"
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

packages_of() {
    grep -v -E '^\s*(#|$)' "$source/tools/debian-packages-$1.txt"
}

twice=$({ packages_of run; packages_of test; } | LC_ALL=C sort | uniq -d)
[ -z "$twice" ] || fail "named more than once in the package lists: $(paste -sd ' ' <<<"$twice")"

# What the run list installs: its packages, everything they depend on, and the essential
# packages that every Debian system has.
mapfile -t run_list < <(packages_of run)
brought=$(
    {
        apt-cache depends --recurse --installed --no-recommends --no-suggests --no-conflicts \
            --no-breaks --no-replaces --no-enhances "${run_list[@]}" | grep -v '^ '
        dpkg-query -W -f='${Package} ${Essential}\n' | awk '$2 == "yes" { print $1 }'
    } | LC_ALL=C sort -u
)

# Passes when a package the run list installs holds each found file (a folder may have many
# owners, one is enough). Takes "WHAT PATH" lines; one dpkg call answers for all of them. dpkg
# knows a program of /usr/bin on a merged /usr by the /bin path its package gives.
check_owners() {
    local what file real owners line i
    local -a whats=() reals=()
    local -A owners_of=()
    while read -r what file; do
        if [ -z "$file" ] || ! real=$(readlink -e "$file"); then
            fail "$what: no file \"$file\""
            continue
        fi
        whats+=("$what $file")
        reals+=("$real")
    done
    while IFS= read -r line; do
        owners_of[${line#*: }]+="$(tr ',' '\n' <<<"${line%%: *}" | sed 's/^ *//; s/:.*//')"$'\n'
    done < <(dpkg -S "${reals[@]}" "${reals[@]#/usr}" 2>/dev/null || true)
    for i in "${!reals[@]}"; do
        real=${reals[$i]}
        owners=$(printf '%s' "${owners_of[$real]:-}${owners_of[${real#/usr}]:-}" | LC_ALL=C sort -u)
        if [ -z "$owners" ]; then
            fail "${whats[$i]} is in no Debian package"
        elif ! grep -Fxq -f <(echo "$owners") <<<"$brought"; then
            fail "${whats[$i]} is in $(paste -sd ' ' <<<"$owners"), which the run list" \
                "does not install"
        fi
    done
}

if ! cmake -S "$source" --preset package -B "$tree" >"$work/configure.log" 2>&1; then
    cat "$work/configure.log" >&2
    fail "the package preset does not configure"
else
    cache=$tree/CMakeCache.txt
    # Where find_package found each CMake package (and the include folders of Qt's), cmake,
    # the compiler, ninja, gzip for the manual page and xcb.
    found='^([A-Za-z0-9_]+_DIR:PATH|CMAKE_COMMAND:INTERNAL'
    found+='|(CMAKE_CXX_COMPILER|CMAKE_MAKE_PROGRAM|VELMORA_GZIP|XCB_LIBRARY):FILEPATH)=/'
    launcher=$(sed -n 's/^CMAKE_CXX_COMPILER_LAUNCHER:[A-Z]*=//p' "$cache")
    check_owners < <(
        grep -E "$found" "$cache" | sed 's/:[A-Z]*=/ /'
        echo "CMAKE_CXX_COMPILER_LAUNCHER $(command -v "$launcher")"
    )

    declared=$(sed -n 's/^set(CPACK_DEBIAN_PACKAGE_\(DEPENDS\|RECOMMENDS\) "\(.*\)")$/\2/p' \
        "$tree/CPackConfig.cmake" | tr ',' '\n' | sed 's/^ *//; s/ .*//')
    [ -n "$declared" ] || fail "CPackConfig.cmake declares no Depends and no Recommends"
    for package in $declared; do
        grep -Fxq "$package" <<<"$(packages_of run)" ||
            fail "the Debian package declares $package, which the run list does not name"
    done

    if ! cmake --build "$tree" >"$work/build.log" 2>&1; then
        tail -n 40 "$work/build.log" >&2
        fail "the package preset does not build (whole log: $work/build.log)"
    fi
fi

if [ "$failures" -gt 0 ]; then
    echo "$failures failures" >&2
    exit 1
fi
echo "the package lists fit the package preset, and it builds"
