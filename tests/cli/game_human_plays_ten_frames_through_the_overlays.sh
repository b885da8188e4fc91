#!/bin/sh
# A person bowls a whole quick game with the stylus from an input script; the sheet is printed and
# the program ends before the frame limit.
# Run by ctest in the build's tests folder with $1 the program, $2 the input.
set -e
. "$(dirname "$0")/checks.sh"
program=$1
input=$2
rm -rf human-shots
mkdir human-shots
"$program" --headless --launch quick --players 1 --humans 1 --seed 7 --frames 23500 --data cli-data --input "$input" --screenshot 75,95,115,140,400,23400 --out human-shots > human.txt
grep -q '^P1 .* Player$' human.txt
grep -q '^score [0-9][0-9]*$' human.txt
each_line_passes human.txt '^marks' -F'|' '{ for (i = 2; i <= 11; i++) if ($i ~ /^ *$/) exit 1 }'
for f in 00075 00095 00115 00140 00400; do
    head -c 4 human-shots/frame$f-lower.png | grep -q PNG || fail "human-shots/frame$f-lower.png is not a PNG image"
done
test ! -e human-shots/frame23400-lower.png
