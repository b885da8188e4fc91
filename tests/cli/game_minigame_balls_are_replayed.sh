#!/bin/sh
# The spares challenge, poker and pin selection replay each ball as the other games do. A
# person's first ball: in the spares challenge it converts the leave of round 1 and is replayed at
# frames 595-605 with "SPARE!" centred on the upper screen; in poker it strikes and is replayed,
# with the strike clip, from frame 720 to 840; in pin selection it is replayed from frame 690 to
# 810. During a replay the lower screen holds the replay panel with its red skip button drawn over
# the whole square a touch skips in (its middle and its four corners); before the ball ends (the
# score table, the hook step) and after the replay (the next attempt, the score sheet) something
# else stands there.
# Run by ctest in the build's tests folder with $1 the program, $2 the shot check, $3 the input.
set -e
. "$(dirname "$0")/checks.sh"
program=$1
shot_check=$2
input=$3
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
mkdir -p "$dir/data" && cp -R cli-data/. "$dir/data/"
skip='warm:231,165,3,20 warm:191,122,2,10 warm:271,122,2,10 warm:191,200,2,10 warm:271,200,2,10'

play() {  # mode frames shots
    "$program" --headless --launch "$1" --players 1 --humans 1 --controls buttons --seed 7 --frames "$2" \
        --data "$dir/data" --input "$input" --screenshot "$3" --out "$dir/$1" > /dev/null
}

mkdir "$dir/spares" "$dir/poker" "$dir/pinselect"
play spares 620 585,595,605,615
cd "$dir/spares"
for f in 00585 00615; do shot_lacks "$shot_check" frame$f-lower.png $skip; done
for f in 00595 00605; do
    "$shot_check" frame$f-lower.png $skip
    "$shot_check" frame$f-upper-left.png blue:200,205,15,150 blue:140,205,6,40 blue:260,205,6,40
done

play poker 870 700,800,840,860
cd "$dir/poker"
for f in 00700 00860; do shot_lacks "$shot_check" frame$f-lower.png $skip; done
for f in 00800 00840; do
    "$shot_check" frame$f-lower.png $skip
    "$shot_check" frame$f-upper-left.png warm:200,205,15,150
done

# Pin selection's own screen is warm too (its deck, its red B), so after the replay it is told by
# its green A, which the replay panel lacks.
play pinselect 880 680,700,780,870
cd "$dir/pinselect"
shot_lacks "$shot_check" frame00680-lower.png $skip
for f in 00700 00780; do
    "$shot_check" frame$f-lower.png $skip
    shot_lacks "$shot_check" frame$f-lower.png green:30,180,4,20
done
"$shot_check" frame00870-lower.png green:30,180,4,20
