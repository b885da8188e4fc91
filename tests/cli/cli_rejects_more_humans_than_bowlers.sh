#!/bin/sh
# --humans may name no more people than there are bowlers, and only in a quick game; --players
# names the bowlers of such a game, and is refused without one as --humans is.
# Run by ctest in the build's tests folder with $1 the program.
set -e
. "$(dirname "$0")/checks.sh"
program=$1
exits_with 2 "$program" --launch quick --players 2 --humans 3 2> err-humans.txt
grep -q -- --humans err-humans.txt
exits_with 2 "$program" --launch attract --humans 1 2> /dev/null
for option in --players --humans; do
    exits_with 2 "$program" --headless --frames 5 --data humans-data $option 2 2> err-humans.txt
    grep -q "^zendrolyx: option $option needs --launch quick, spares, bingo, poker or pinselect$" err-humans.txt ||
        fail "$option without --launch: $(head -n 1 err-humans.txt)"
done
rm -rf err-humans.txt humans-data
