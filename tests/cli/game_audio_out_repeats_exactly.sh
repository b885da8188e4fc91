#!/bin/sh
# The same seed writes the same WAV file, with 33 ms of samples for every presented frame.
# Run by ctest in the build's tests folder with $1 the program.
set -e
. "$(dirname "$0")/checks.sh"
program=$1
"$program" --headless --launch quick --players 1 --seed 7 --frames 600 --data cli-data --audio-out game-a.wav > /dev/null
"$program" --headless --launch quick --players 1 --seed 7 --frames 600 --data cli-data --audio-out game-b.wav > /dev/null
cmp game-a.wav game-b.wav
test "$(head -c 4 game-a.wav)" = RIFF
test "$(stat -c %s game-a.wav)" -ge $((44 + 4 * 600 * 1080))
