#!/bin/sh
# A frame limit that falls before start-up has ended (here in the first start's notice, or in the
# first save's message) ends the run as any frame limit does, with status 0, exactly at the limit,
# and says where start-up stopped. HOME's Close during start-up is an order to close as well:
# status 0, and where it stopped. Stopped there by the frame limit or by HOME's Close, the run
# reports the reads it cut short as stopped, never as damaged game data.
# Run by ctest in the build's tests folder with $1 the program.
set -e
. "$(dirname "$0")/checks.sh"
program=$1
rm -rf early-stop && mkdir -p early-stop/empty
# A save folder that is not there yet (the notice) and one that is there but empty (the first save).
for limit in 5 20; do
    exits_with 0 "$program" --headless --frames $limit --data early-stop/data 2> early-stop-err.txt
    grep -q "^zendrolyx: stopped by the frame limit after $limit frames, before the game began (start-up stopped: closed while preparing the save data)$" early-stop-err.txt ||
        fail "no word of where it stopped, or not at frame $limit: $(cat early-stop-err.txt)"
    rm -rf early-stop/data
done
exits_with 0 "$program" --headless --frames 20 --data early-stop/empty 2> early-stop-err.txt
grep -q '^zendrolyx: stopped by the frame limit after 20 frames, before the game began' early-stop-err.txt ||
    fail "the first save went past the frame limit: $(cat early-stop-err.txt)"

printf '0\n10 HOME\n11\n100 touch 225 170\n101\n' > early-stop/home.input
exits_with 0 "$program" --headless --frames 5 --data early-stop/data --verbose 2> early-stop/frames.txt
rm -rf early-stop/data
exits_with 0 "$program" --headless --frames 3000 --data early-stop/data --input early-stop/home.input 2> early-stop/home-quiet.txt
grep -q '^zendrolyx: closed after [0-9]* frames, before the game began (start-up stopped: closed while preparing the save data)$' \
    early-stop/home-quiet.txt || fail "HOME's Close: no word of where it stopped: $(cat early-stop/home-quiet.txt)"
rm -rf early-stop/data
exits_with 0 "$program" --headless --frames 3000 --data early-stop/data --input early-stop/home.input --verbose \
    2> early-stop/home.txt
for how in frames home; do
    grep -q '^zendrolyx: start-up stopped: closed while preparing the save data$' early-stop/$how.txt ||
        fail "$how: not closed while the save data was prepared: $(cat early-stop/$how.txt)"
    if grep -v '^zendrolyx: \(FileRead: stopped while waiting for the read\|start-up stopped: closed while\|stopped by the frame limit\|closed after\)' \
        early-stop/$how.txt; then
        fail "$how: more than the stop is reported (above)"
    fi
done
rm -rf early-stop early-stop-err.txt
