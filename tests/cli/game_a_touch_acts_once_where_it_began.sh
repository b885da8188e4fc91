#!/bin/sh
# A touch presses a button once, however it moves on, and only on the overlay where it began. Runs
# that differ only in how a touch moves must show the same screens:
# - the score sheet of four bowlers: the ring beside the second small row (P3) tapped, or touched
#   and slid off it for 10 frames, shows P3's sheet either way; dragging the slider's knob then
#   scrolls the sheet;
# - the stylus set-up: the knob is dragged left so that the hidden aim handle lies under the pause
#   menu's Continue; in the pause menu the Bumpers toggle is tapped, or touched and slid off for 10
#   frames: it is on either way; Continue is tapped, or touched and slid right: the aim stays.
# Runs without the touch show that the touches were on their buttons.
#   game_a_touch_acts_once_where_it_began.sh ZENDROLYX
set -e
. "$(dirname "$0")/checks.sh"
game=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
mkdir -p "$dir/data" && cp -R cli-data/. "$dir/data/"

run() {  # name players frames shots input-lines...
    name=$1 players=$2 frames=$3 shots=$4
    shift 4
    mkdir "$dir/$name"
    printf '%s\n' "$@" > "$dir/$name/input"
    "$game" --headless --launch quick --players $players --humans 1 --seed 7 --frames $frames --data "$dir/data" \
        --input "$dir/$name/input" --screenshot $shots --out "$dir/$name" > /dev/null
}
same() {  # frame run run
    cmp -s "$dir/$2/frame$1-lower.png" "$dir/$3/frame$1-lower.png" || fail "$2 and $3 differ at frame $1"
}
differ() {  # frame run run
    if cmp -s "$dir/$2/frame$1-lower.png" "$dir/$3/frame$1-lower.png"; then fail "$2 and $3 are alike at frame $1"; fi
}

# The score sheet: the ring at 60, the knob dragged from 80 to 86.
drag='80 touch 66 135
82 touch 130 135
84 touch 200 135
86'
run sheet-none 4 101 75,100 0
run sheet-tap 4 101 75,100 '60 touch 300 192' 61 "$drag"
run sheet-slide 4 101 75,100 '60 touch 300 192' '61 touch 270 192' 70 "$drag"
differ 00075 sheet-none sheet-tap
same 00075 sheet-tap sheet-slide
same 00100 sheet-tap sheet-slide
if cmp -s "$dir/sheet-tap/frame00075-lower.png" "$dir/sheet-tap/frame00100-lower.png"; then
    fail "dragging the slider's knob does not scroll the sheet"
fi

# The stylus set-up: A to the touch position step; its knob dragged left (80 to 86); START opens
# the pause menu (100); Bumpers at 120; Continue at 160.
setup='60 A
61
80 touch 213 157
82 touch 150 157
84 touch 89 157
86
100 START
102'
run pause-none 1 191 140,190 "$setup" '160 touch 89 88' 161
run pause-tap 1 191 140,190 "$setup" '120 touch 89 128' 121 '160 touch 89 88' 161
run pause-slide 1 191 140,190 "$setup" '120 touch 89 128' '121 touch 110 128' '122 touch 120 128' 130 \
    '160 touch 89 88' '161 touch 110 88' '162 touch 130 88' 170
differ 00140 pause-none pause-tap
same 00140 pause-tap pause-slide
same 00190 pause-tap pause-slide
# Continue closed the menu.
if cmp -s "$dir/pause-tap/frame00140-lower.png" "$dir/pause-tap/frame00190-lower.png"; then
    fail "Continue does not close the pause menu"
fi
