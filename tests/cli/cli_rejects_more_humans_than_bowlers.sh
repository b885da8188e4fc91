#!/bin/sh
# --humans may name no more people than there are bowlers, and only in a quick game.
# Run by ctest in the build's tests folder with $1 the program.
program=$1
"$program" --launch quick --players 2 --humans 3 2>err-humans.txt; test $? -eq 2 &&
  grep -q -- --humans err-humans.txt &&
  "$program" --launch attract --humans 1 2>/dev/null; test $? -eq 2
