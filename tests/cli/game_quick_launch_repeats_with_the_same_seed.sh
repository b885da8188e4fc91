#!/bin/sh
# The same seed bowls the same game: two runs print the same sheets.
# Run by ctest in the build's tests folder with $1 the program.
set -e
program=$1
"$program" --headless --launch quick --players 2 --seed 7 --frames 200000 --data cli-data > quick-a.txt
"$program" --headless --launch quick --players 2 --seed 7 --frames 200000 --data cli-data > quick-b.txt
test "$(grep -c '^score [0-9][0-9]*$' quick-a.txt)" -eq 2
cmp quick-a.txt quick-b.txt
