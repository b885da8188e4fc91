#!/bin/sh
# --help prints the usage, which lists --headless, and ends with status 0.
# Run by ctest in the build's tests folder with $1 the program.
set -e
. "$(dirname "$0")/checks.sh"
program=$1
"$program" --help > help.txt
grep -q -- --headless help.txt
