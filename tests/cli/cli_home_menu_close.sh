#!/bin/sh
# HOME in a headless run: the host's menu suspends the game and "Resume" goes back to it; HOME
# again and a touch on "Close" end the program at that frame, cleanly; the first start has created
# the save folder.
# Usage: home_menu_close.sh PROGRAM WORKDIR
set -e
game=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
printf '0\n200 HOME\n205 A\n300 HOME\n310 touch 225 170\n' > "$work/close.input"
"$game" --headless --frames 2000 --data "$work/save" --input "$work/close.input" --verbose 2> "$work/err.txt"
grep -q "ended after 310 frames" "$work/err.txt"
test -d "$work/save"
