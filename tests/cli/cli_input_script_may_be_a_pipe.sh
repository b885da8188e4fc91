#!/bin/sh
# The input script may be any readable file but a folder: a script piped in through /dev/stdin or
# by process substitution is read (its bad line is reported with status 2), /dev/null is an empty
# script, and a named pipe that nobody writes reads as an empty script at once, never waited on.
# Run by ctest in the build's tests folder with $1 the program.
set -e
. "$(dirname "$0")/checks.sh"
program=$1
rm -rf piped-input && mkdir -p piped-input
printf '5 A\n6 SPIN\n' | exits_with 2 "$program" --headless --frames 10 --data cli-data --input /dev/stdin \
    2> piped-input/stdin.txt
grep -q "^zendrolyx: /dev/stdin line 2: unknown button 'SPIN'" piped-input/stdin.txt ||
    fail "a script on standard input: $(cat piped-input/stdin.txt)"
exits_with 2 bash -c '"$0" --headless --frames 10 --data cli-data --input <(printf "5 A\n6 SPIN\n")' "$program" \
    2> piped-input/substituted.txt
grep -q "line 2: unknown button 'SPIN'" piped-input/substituted.txt ||
    fail "a script by process substitution: $(cat piped-input/substituted.txt)"
mkfifo piped-input/fifo
for script in /dev/null piped-input/fifo; do
    # A run that waits on the pipe is ended after a minute (killed when it ignores the signal).
    exits_with 0 timeout -k 5 60 "$program" --headless --frames 10 --data cli-data --input $script
done
exits_with 2 "$program" --headless --frames 10 --data cli-data --input piped-input 2> piped-input/folder.txt
grep -q '^zendrolyx: piped-input: the input script is a folder$' piped-input/folder.txt
rm -rf piped-input
