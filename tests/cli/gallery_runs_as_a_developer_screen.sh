#!/bin/sh
# The widget gallery runs as a developer's screen (--launch gallery): the pad walks down to the
# lower screen's first button and opens the pad dialog, answers it, and the program ends at its
# frame limit with both screens shot and nothing reported missing.
# Not a first start (a copy of the shared save folder). Run by ctest in the build's tests folder
# with $1 the program.
set -e
. "$(dirname "$0")/checks.sh"
program=$1
rm -rf gallery-shots gallery-data
mkdir gallery-shots gallery-data
cp -R cli-data/. gallery-data/
printf '0\n2 DOWN\n3\n5 DOWN\n6\n8 A\n9\n14 UP\n15\n17 A\n18\n' > gallery.input
"$program" --headless --launch gallery --frames 40 --input gallery.input --screenshot 30 --out gallery-shots \
    --data gallery-data --verbose > /dev/null 2> gallery-err.txt
for f in upper-left lower; do
    head -c 4 gallery-shots/frame00030-$f.png | grep -q PNG || fail "gallery-shots/frame00030-$f.png is not a PNG image"
done
refute grep -q 'gallery:\|does not exist' gallery-err.txt
