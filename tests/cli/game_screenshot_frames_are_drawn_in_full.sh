#!/bin/sh
# A frame shot on its own is the same, pixel for pixel, as when every frame before it is shot too.
# Run by ctest in the build's tests folder with $1 the program.
set -e
program=$1
rm -rf full-a full-b
mkdir full-a full-b
"$program" --headless --launch quick --players 1 --seed 7 --frames 61 --screenshot 60 --out full-a --data cli-data > /dev/null
"$program" --headless --launch quick --players 1 --seed 7 --frames 61 --screenshot "$(seq -s, 1 60)" --out full-b --data cli-data > /dev/null
for f in upper-left upper-right lower; do
    cmp full-a/frame00060-$f.png full-b/frame00060-$f.png
done
