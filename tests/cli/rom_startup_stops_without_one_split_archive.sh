#!/bin/sh
# The split set without Objects.rez stops start-up with status 1, naming the archive.
# Run by ctest in the build's tests folder with $1 the program, $2 the split rom.
set -e
. "$(dirname "$0")/checks.sh"
program=$1
split_rom=$2
rm -rf part-rom
cp -r "$split_rom" part-rom
rm part-rom/Resource/Objects.rez
exits_with 1 "$program" --headless --frames 30 --verbose --rom part-rom --data cli-data 2> err-part.txt
grep -q 'Objects.rez' err-part.txt
grep -q 'game data could not be opened' err-part.txt
