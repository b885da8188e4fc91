#!/bin/sh
# An unknown option exits with status 2, names the option and prints the usage.
# Run by ctest in the build's tests folder with $1 the program.
set -e
. "$(dirname "$0")/checks.sh"
program=$1
exits_with 2 "$program" --no-such-option 2> err-unknown.txt
grep -q 'unknown option.*--no-such-option' err-unknown.txt
grep -q usage err-unknown.txt
