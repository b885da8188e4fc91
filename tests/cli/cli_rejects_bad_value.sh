#!/bin/sh
# A bad value of an option exits with status 2; an input script's frame past the largest accepted
# is refused the same way, and the message says what the largest is.
# Run by ctest in the build's tests folder with $1 the program.
set -e
. "$(dirname "$0")/checks.sh"
program=$1
exits_with 2 "$program" --frames many 2> /dev/null
printf '1000000001 A\n' > bad-value.input
exits_with 2 "$program" --headless --frames 5 --input bad-value.input 2> err-bad-value.txt
grep -q "^zendrolyx: bad-value.input line 1: bad frame number '1000000001' (a whole number from 0 to 1000000000)$" \
    err-bad-value.txt || fail "the largest frame is not named: $(cat err-bad-value.txt)"
rm -f bad-value.input err-bad-value.txt
