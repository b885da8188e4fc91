#!/bin/sh
# --controls takes touch or buttons, and only when there are people.
# Run by ctest in the build's tests folder with $1 the program.
program=$1
"$program" --launch quick --humans 1 --controls mouse 2>err-controls.txt; test $? -eq 2 &&
  grep -q -- --controls err-controls.txt &&
  "$program" --launch quick --controls buttons 2>/dev/null; test $? -eq 2
