#!/bin/sh
# The intro logos play on the lower screen at start-up: the first (a night-blue sky) then the
# second (warm wood). A new press of A skips the first; A held from the start does not. A seeded
# run during the intro repeats, its sound included. A damaged or missing intro plays nothing and
# start-up goes on to the splash.
#   intro_videos_play_and_skip.sh ZENDROLYX SHOT_CHECK ROM MKROM
set -e
. "$(dirname "$0")/checks.sh"
game=$1
check=$2
rom=$3
mkrom=$4
rm -rf intro-shots && mkdir -p intro-shots/plain intro-shots/skip intro-shots/held intro-shots/again intro-shots/bad
run() {
    "$game" --headless --frames 50 --data cli-data --screenshot 40 --out "intro-shots/$1" $2 > /dev/null
}
printf '5 A\n6\n' > intro-shots/skip.txt
printf '0 A\n' > intro-shots/held.txt
run plain "--seed 3 --audio-out intro-shots/plain.wav"
run again "--seed 3 --audio-out intro-shots/again.wav"
cmp intro-shots/plain.wav intro-shots/again.wav
cmp intro-shots/plain/frame00040-lower.png intro-shots/again/frame00040-lower.png
run skip "--input intro-shots/skip.txt"
run held "--input intro-shots/held.txt"
"$check" intro-shots/plain/frame00040-lower.png blue:160,20,15,300
"$check" intro-shots/held/frame00040-lower.png blue:160,20,15,300
"$check" intro-shots/skip/frame00040-lower.png warm:160,20,15,300

# The game data without its second clip and with the first one cut short and scribbled over.
mkdir -p intro-shots/rom/Video
ln -s "$rom/Resource.rez" intro-shots/rom/Resource.rez
ln -s "$rom/Resource" intro-shots/rom/Resource
ln -s "$rom/db" intro-shots/rom/db
ln -s "$rom/ui" intro-shots/rom/ui
head -c 3000 "$rom/Video/Intro_Studio.mkv" > intro-shots/rom/Video/Intro_Studio.mkv
head -c 20000 /dev/zero | tr '\0' 'Z' >> intro-shots/rom/Video/Intro_Studio.mkv
remake_list "$mkrom" intro-shots/rom
"$game" --headless --frames 50 --verbose --rom intro-shots/rom --data cli-data --screenshot 40 --out intro-shots/bad \
    > /dev/null 2> intro-shots/bad.txt
grep -q 'video: rom:/Video/Intro_Lanes.mkv: the file cannot be opened' intro-shots/bad.txt
refute grep -q 'start-up stopped' intro-shots/bad.txt
test -e intro-shots/bad/frame00040-lower.png
