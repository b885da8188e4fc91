#!/bin/sh
# A frame limit that falls before start-up has ended (here in the first start's notice) ends the run
# as any frame limit does, with status 0, and says where start-up stopped.
# Run by ctest in the build's tests folder with $1 the program.
set -e
. "$(dirname "$0")/checks.sh"
program=$1
rm -rf early-stop
exits_with 0 "$program" --headless --frames 5 --data early-stop/data 2> early-stop-err.txt
grep -q '^zendrolyx: stopped by the frame limit after [0-9]* frames, before the game began (start-up stopped: closed while preparing the save data)$' early-stop-err.txt ||
    fail "no word of where it stopped: $(cat early-stop-err.txt)"
