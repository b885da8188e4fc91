#!/bin/sh
# A quick game of four computer bowlers prints four finished score sheets and ends by itself,
# reporting nothing on the way (the end of a launched game is no fault).
# Run by ctest in the build's tests folder with $1 the program.
set -e
. "$(dirname "$0")/checks.sh"
program=$1
"$program" --headless --launch quick --players 4 --seed 7 --frames 200000 --data cli-data --verbose > quick-four.txt \
    2> quick-four-err.txt
test "$(grep -c '^P[1-4] ' quick-four.txt)" -eq 4
test "$(grep -c '^score [0-9][0-9]*$' quick-four.txt)" -eq 4
no_errors quick-four-err.txt
