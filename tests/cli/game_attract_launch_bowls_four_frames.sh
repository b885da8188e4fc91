#!/bin/sh
# The attract game bowls player 1's first four frames and no more.
# Run by ctest in the build's tests folder with $1 the program.
set -e
. "$(dirname "$0")/checks.sh"
program=$1
"$program" --headless --launch attract --seed 7 --frames 20000 --data cli-data > attract.txt
test "$(grep -c '^P1 ' attract.txt)" -eq 1
each_line_passes attract.txt '^marks' -F'|' \
    '{ for (i = 2; i <= 5; i++) if ($i ~ /^ *$/) exit 1; for (i = 6; i <= 11; i++) if ($i !~ /^ *$/) exit 1 }'
