#!/usr/bin/env bash
# velmora-cli run as a user runs it: its options, standard input named "-", usage errors,
# output that cannot be written, and, with "memory", runs under an address-space limit
# (ulimit -v), which a build with AddressSanitizer cannot take.
#
#   check_command_line.sh CLI VERSION [memory]
#
# VELMORA_EMULATOR, when set, is the command (words separated by blanks) that runs a program
# built for another platform: CLI then runs under it.
set -euo pipefail
read -r -a emulator <<<"${VELMORA_EMULATOR:-}"
cli=("${emulator[@]}" "$1")
version=$2
mode=${3:-options}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
export LC_ALL=C.UTF-8
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# check WHAT STATUS OUT ERR COMMAND...: runs COMMAND with standard input from the file
# "in" and fails unless its exit status, standard output and standard error are exactly
# STATUS, OUT and ERR.
check() {
    local what=$1 status=$2 out=$3 err=$4 actual=0
    shift 4
    "$@" <in >out 2>err || actual=$?
    [ "$actual" = "$status" ] || fail "$what: exit status $actual, expected $status"
    cmp -s out <(printf '%s' "$out") || fail "$what: standard output is: $(head -c 300 out)"
    cmp -s err <(printf '%s' "$err") || fail "$what: standard error is: $(head -c 300 err)"
}

# Runs a command with at most $1 KiB of address space.
limited() { (ulimit -v "$1" && shift && exec "$@"); }
# Runs a command with its standard output on a full disk.
to_full_disk() { "$@" >/dev/full; }

usage_line='usage: velmora-cli [-h | --help | --version] [--] [SCRIPT | -]'
usage_error() { printf 'velmora-cli: %s\n%s\n' "$1" "$usage_line"; }
# What "stepy", "record", "log" print.
log_entry=$'x (см):0\ny (см):1\nУгол датчика:0\nB (Тл):0\n \n'
printf 'stepy\nrecord\nlog\n' >walk
: >in

if [ "$mode" = memory ]; then
    # A file with no line feed stops at the line limit, long before a 1 GiB limit.
    check "/dev/zero under 1 GiB" 2 "" \
        $'velmora-cli: /dev/zero:1: line longer than 16 MiB (16777216 bytes)\n' \
        limited 1048576 "${cli[@]}" /dev/zero
    # A 16 MiB line of NUL bytes is read, but quoting it in the message takes 64 MiB more.
    { cat walk && head -c 16777216 /dev/zero && echo; } >in
    check "a line that takes more memory than there is" 2 "$log_entry" \
        $'velmora-cli: <stdin>:4: out of memory\n' limited 65536 "${cli[@]}"
else
    "${cli[@]}" --help >help 2>help-err || fail "--help: exit status $?"
    [ -s help ] && [ ! -s help-err ] || fail "--help printed nothing, or on standard error"
    [ "$(head -1 help)" = "$usage_line" ] || fail "--help starts: $(head -1 help)"
    [ "$(wc -L <help)" -le 79 ] || fail "--help has lines over 79 columns"
    check "-h" 0 "$(cat help)"$'\n' "" "${cli[@]}" -h

    check "--version" 0 "velmora-cli (Velmora) $version"$'\n' "" "${cli[@]}" --version
    cp walk in
    check "- reads standard input" 0 "$log_entry" "" "${cli[@]}" -
    printf 'movee\n' >>in
    check "- is named <stdin> in messages" 2 "$log_entry" \
        $'velmora-cli: <stdin>:4: not a command of the script: "movee"\n' "${cli[@]}" -
    cp walk in
    check "-- ends the options, - stays standard input" 0 "$log_entry" "" "${cli[@]}" -- -
    check "-- ends the options" 2 "" \
        $'velmora-cli: -h: cannot be read: No such file or directory\n' "${cli[@]}" -- -h
    : >in
    check "an unknown short option" 2 "" "$(usage_error 'unknown option: "-x"')"$'\n' "${cli[@]}" -x walk
    check "an unknown long option" 2 "" "$(usage_error 'unknown option: "--verbose"')"$'\n' \
        "${cli[@]}" --verbose walk
    check "two scripts" 2 "" "$(usage_error 'more than one script: "in"')"$'\n' \
        "${cli[@]}" walk in walk
    check "an option after the scripts" 0 "$(cat help)"$'\n' "" "${cli[@]}" walk in --help
    # /dev/full is opened by the shell, so an emulated program gets it too. --help fails at
    # the final flush; the script's output, on C libraries that write it out early (Windows',
    # WebAssembly's), fails in the middle of the run, and the reason must outlast the reading
    # of the lines after it.
    check "--help on a full disk" 1 "" \
        $'velmora-cli: cannot write the output: No space left on device\n' \
        to_full_disk "${cli[@]}" --help
    check "a script's output on a full disk" 1 "" \
        $'velmora-cli: cannot write the output: No space left on device\n' \
        to_full_disk "${cli[@]}" walk
fi

if ((failures > 0)); then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "all $mode checks passed"
