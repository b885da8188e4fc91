#!/bin/sh
# --audio-out with an empty name or a file that cannot be written exits with status 2 and names the
# option.
# Run by ctest in the build's tests folder with $1 the program.
set -e
. "$(dirname "$0")/checks.sh"
program=$1
exits_with 2 "$program" --audio-out '' 2> /dev/null
exits_with 2 "$program" --audio-out no-such-dir/x.wav 2> err-audio-out.txt
grep -q -- --audio-out err-audio-out.txt
