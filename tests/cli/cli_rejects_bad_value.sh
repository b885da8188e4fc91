#!/bin/sh
# A bad value of an option exits with status 2.
# Run by ctest in the build's tests folder with $1 the program.
set -e
. "$(dirname "$0")/checks.sh"
program=$1
exits_with 2 "$program" --frames many 2> /dev/null
