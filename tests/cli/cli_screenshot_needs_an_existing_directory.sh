#!/bin/sh
# A --out directory that does not exist is a bad option (status 2).
# Run by ctest in the build's tests folder with $1 the program.
set -e
. "$(dirname "$0")/checks.sh"
program=$1
exits_with 2 "$program" --headless --frames 3 --screenshot 1 --out no-such-dir 2> err-shot.txt
grep -q 'not a directory' err-shot.txt
