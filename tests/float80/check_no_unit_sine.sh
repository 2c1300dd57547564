#!/usr/bin/env bash
# Fails when any of the given programs contains the x87's sine or cosine instructions (fsin,
# fcos, fsincos): their last bits differ between processor makers, so a reading made with
# them would depend on the student's PC. Prints the functions that hold them.
#
#   check_no_unit_sine.sh PROGRAM...
set -euo pipefail
found=0
for program in "$@"; do
  hits=$(objdump -d --no-show-raw-insn "$program" |
    awk '/^[0-9a-f]+ <.*>:$/ { function_name = $2; sub(/:$/, "", function_name) }
         $2 ~ /^(fsin|fcos|fsincos)$/ { print "  " function_name ": " $2 }' | sort -u)
  if [[ -n $hits ]]; then
    echo "$program executes the unit's sine or cosine:"
    echo "$hits"
    found=1
  else
    echo "$program: no fsin, fcos or fsincos"
  fi
done
exit $found
