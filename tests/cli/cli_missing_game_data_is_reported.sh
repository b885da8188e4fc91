#!/bin/sh
# A game data directory without the archives ends start-up with status 1 and says that start-up
# stopped.
# Run by ctest in the build's tests folder with $1 the program.
program=$1
mkdir -p empty-rom &&
  "$program" --headless --frames 30 --rom empty-rom --data cli-data 2>err-missing.txt; test $? -eq 1 &&
  grep -q 'start-up stopped' err-missing.txt
