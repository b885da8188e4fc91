#!/bin/sh
# A run with a window on a machine whose sound device cannot be opened says nothing of it on its own
# (the sound libraries' complaints are kept off the terminal) and one line with --verbose, and plays
# on in silence.
# Run by ctest in the build's tests folder with $1 the program.
set -e
. "$(dirname "$0")/checks.sh"
program=$1
SDL_AUDIODRIVER=alsa AUDIODEV=hw:99,0 "$program" --launch quick --frames 3 --data cli-data > /dev/null 2> err-audio.txt
refute grep -qi 'alsa' err-audio.txt
SDL_AUDIODRIVER=alsa AUDIODEV=hw:99,0 "$program" --launch quick --frames 3 --verbose --data cli-data > /dev/null \
    2> err-audio-verbose.txt
test "$(grep -c '^zendrolyx: audio:' err-audio-verbose.txt)" -eq 1
