#!/bin/sh
# In the window, game data damaged where the game's own box needs it (the split set's shaders,
# read before the renderer starts) is told in the system's message box, which needs none of the
# game data: the box stays until the player closes it (here with Return, the box's focus given
# as a desktop gives it), and the program then ends with status 1 and the one line naming the file.
# Run under a virtual X display (xvfb-run), with the split set's game data.
#   rom_damaged_data_is_told_in_the_window.sh ZENDROLYX SPLIT_ROM
set -e
. "$(dirname "$0")/checks.sh"
program=$1
rm -rf told-in-window && mkdir -p told-in-window/data
cp cli-data/savegame.bin told-in-window/data/
# The split set as links to its files, the shader archive replaced by a copy with its first byte
# changed.
cp -rs "$(realpath "$2")" told-in-window/rom
rm told-in-window/rom/Resource/3DS.rez
{ printf '\125'; tail -c +2 "$2/Resource/3DS.rez"; } > told-in-window/rom/Resource/3DS.rez
cmp -s told-in-window/rom/Resource/3DS.rez "$2/Resource/3DS.rez" && fail "the first byte of 3DS.rez was already 0x55"

"$program" --rom told-in-window/rom --data told-in-window/data > /dev/null 2> told-in-window/err &
pid=$!
trap 'kill $pid 2> /dev/null || true' EXIT
# The system's box: a window named as the game, of no window class (the game's own window has one).
box=
for i in $(seq 300); do
    box=$(xwininfo -root -tree | sed -n 's/^ *\(0x[0-9a-f]*\) "Zendrolyx": ().*/\1/p')
    [ -n "$box" ] && break
    kill -0 $pid 2> /dev/null || fail "ended with no box shown: $(cat told-in-window/err)"
    sleep 0.1
done
[ -n "$box" ] || fail "no box after 30 seconds"
sleep 1
kill -0 $pid 2> /dev/null || fail "the box did not stay until closed"
xdotool windowfocus --sync "$box" key Return
status=0
wait $pid || status=$?
trap - EXIT
test $status -eq 1 || fail "ended with status $status: $(cat told-in-window/err)"
test "$(wc -l < told-in-window/err)" -eq 1 || fail "not one line: $(cat told-in-window/err)"
grep -q "^zendrolyx: start-up stopped: the game data is damaged: \"rom:/Resource/3DS.rez\" " told-in-window/err ||
    fail "the line does not name rom:/Resource/3DS.rez: $(cat told-in-window/err)"
rm -rf told-in-window
