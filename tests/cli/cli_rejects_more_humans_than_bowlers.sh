#!/bin/sh
# --humans may name no more people than there are bowlers, and only in a quick game.
# Run by ctest in the build's tests folder with $1 the program.
set -e
. "$(dirname "$0")/checks.sh"
program=$1
exits_with 2 "$program" --launch quick --players 2 --humans 3 2> err-humans.txt
grep -q -- --humans err-humans.txt
exits_with 2 "$program" --launch attract --humans 1 2> /dev/null
