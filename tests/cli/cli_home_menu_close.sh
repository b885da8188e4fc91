#!/bin/sh
# HOME in a headless run: the host's menu suspends the game and "Resume" goes back to it; HOME
# again and a touch on "Close" end the program at that frame, cleanly; the first start has created
# the save folder.
# Usage: cli_home_menu_close.sh PROGRAM WORKDIR
set -e
game=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
# After the first start's notice, its first save and the intro videos, at the title screen.
printf '0\n700 HOME\n705 A\n800 HOME\n810 touch 225 170\n' > "$work/close.input"
"$game" --headless --frames 2000 --data "$work/save" --input "$work/close.input" --verbose 2> "$work/err.txt"
grep -q "ended after 810 frames" "$work/err.txt"
test -d "$work/save"
