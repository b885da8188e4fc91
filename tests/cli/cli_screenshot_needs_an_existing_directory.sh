#!/bin/sh
# A --out directory that does not exist is a bad option (status 2).
# Run by ctest in the build's tests folder with $1 the program.
program=$1
"$program" --headless --frames 3 --screenshot 1 --out no-such-dir 2>err-shot.txt; test $? -eq 2 &&
  grep -q 'not a directory' err-shot.txt
