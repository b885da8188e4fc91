#!/bin/sh
# A headless run writes the three displays of each listed frame as PNG files, and nothing else.
# Run by ctest in the build's tests folder with $1 the program.
set -e
. "$(dirname "$0")/checks.sh"
program=$1
rm -rf shots
mkdir shots
"$program" --headless --launch quick --frames 12 --screenshot 5,9 --out shots --data cli-data > /dev/null
for f in 00005-upper-left 00005-upper-right 00005-lower 00009-lower; do
    head -c 4 shots/frame$f.png | grep -q PNG || fail "shots/frame$f.png is not a PNG image"
done
test "$(ls shots | wc -l)" -eq 6
