#!/bin/sh
# A person bowls a whole quick game with the buttons from an input script; the sheet is printed and
# the program ends before the frame limit.
# Run by ctest in the build's tests folder with $1 the program, $2 the input.
set -e
. "$(dirname "$0")/checks.sh"
program=$1
input=$2
rm -rf human-button-shots
mkdir human-button-shots
"$program" --headless --launch quick --players 1 --humans 1 --controls buttons --seed 7 --frames 13000 --data cli-data --input "$input" --screenshot 115,125,160,200,12900 --out human-button-shots > human-buttons.txt
grep -q '^P1 .* Player$' human-buttons.txt
grep -q '^score [1-9][0-9]*$' human-buttons.txt
each_line_passes human-buttons.txt '^marks' -F'|' '{ for (i = 2; i <= 11; i++) if ($i ~ /^ *$/) exit 1 }'
for f in 00115 00125 00160 00200; do
    head -c 4 human-button-shots/frame$f-lower.png | grep -q PNG || fail "human-button-shots/frame$f-lower.png is not a PNG image"
done
test ! -e human-button-shots/frame12900-lower.png
