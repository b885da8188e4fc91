#!/bin/sh
# The AddressSanitizer build still checks for leaks, with the options the game's programs carry: a
# program that loses a block on purpose ends with a failing status and the leak report naming where
# the block was taken. (A test that leaks fails its run the same way, and so scripts/test.)
# Run by ctest with $1 the leaking program.
set -e
. "$(dirname "$0")/../cli/checks.sh"
got=0
"$1" 2> leak-report.txt || got=$?
[ "$got" -ne 0 ] || fail "a leak ended with status 0"
grep -q 'ERROR: LeakSanitizer: detected memory leaks' leak-report.txt || fail "no leak report: $(cat leak-report.txt)"
grep -q 'LoseABlockOnPurpose' leak-report.txt || fail "the report does not name where the block was taken"
rm -f leak-report.txt
