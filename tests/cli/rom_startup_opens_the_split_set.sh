#!/bin/sh
# Start-up opens the build's split set of archives.
# Run by ctest in the build's tests folder with $1 the program, $2 the split rom.
set -e
. "$(dirname "$0")/checks.sh"
program=$1
split_rom=$2
"$program" --headless --frames 30 --verbose --rom "$split_rom" --data cli-data 2> err-split.txt
refute grep -q 'game data could not be opened' err-split.txt
