#!/bin/sh
# A save file of 3 GB (sparse) is refused and kept aside; the message gives its size whole: the
# game's own printer reads 64-bit and unsigned numbers.
# Run by ctest in the build's tests folder with $1 the program.
set -e
. "$(dirname "$0")/checks.sh"
program=$1
rm -rf big-save && mkdir -p big-save
truncate -s 3G big-save/savegame.bin
# The run ends at the frame limit, whether or not the player has answered by then.
"$program" --headless --frames 100 --data big-save --verbose 2> big-save/err.txt || :
grep -q 'holds 3221225472 bytes, [0-9][0-9]* were read, the image has [0-9][0-9]*$' big-save/err.txt ||
    fail "the sizes are not printed whole: $(grep holds big-save/err.txt)"
test -f big-save/savegame-damaged-1.bin
rm -rf big-save
