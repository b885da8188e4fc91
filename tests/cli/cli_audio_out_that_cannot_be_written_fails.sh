#!/bin/sh
# A sound file that cannot be written (the disk is full: /dev/full) fails the run: status 1 and
# the reason, with or without --verbose.
# Run by ctest in the build's tests folder with $1 the program.
set -e
. "$(dirname "$0")/checks.sh"
program=$1
exits_with 1 "$program" --headless --launch quick --players 1 --frames 60 --data cli-data \
    --audio-out /dev/full 2> err-audio-full.txt
grep -q '^zendrolyx: audio: the sound file /dev/full cannot be written (No space left on device)$' err-audio-full.txt ||
    fail "no reason given: $(cat err-audio-full.txt)"
exits_with 1 "$program" --headless --launch quick --players 1 --frames 60 --data cli-data \
    --audio-out /dev/full --verbose 2> err-audio-full.txt
test "$(grep -c 'cannot be written' err-audio-full.txt)" -eq 1 || fail "the reason is not said once"
