#!/bin/sh
# A quick game of four computer bowlers prints four finished score sheets and ends by itself.
# Run by ctest in the build's tests folder with $1 the program.
program=$1
"$program" --headless --launch quick --players 4 --seed 7 --frames 200000 --data cli-data > quick-four.txt &&
  test $(grep -c '^P[1-4] ' quick-four.txt) -eq 4 &&
  test $(grep -c '^score [0-9][0-9]*$' quick-four.txt) -eq 4
