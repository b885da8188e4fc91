#!/bin/sh
# A game data directory without the archives ends start-up with status 1 and says that start-up
# stopped.
# Run by ctest in the build's tests folder with $1 the program.
set -e
. "$(dirname "$0")/checks.sh"
program=$1
mkdir -p empty-rom
exits_with 1 "$program" --headless --frames 30 --rom empty-rom --data cli-data 2> err-missing.txt
grep -q 'start-up stopped' err-missing.txt
