#!/bin/sh
# --controls takes touch or buttons, and only when there are people.
# Run by ctest in the build's tests folder with $1 the program.
set -e
. "$(dirname "$0")/checks.sh"
program=$1
exits_with 2 "$program" --launch quick --humans 1 --controls mouse 2> err-controls.txt
grep -q -- --controls err-controls.txt
exits_with 2 "$program" --launch quick --controls buttons 2> /dev/null
