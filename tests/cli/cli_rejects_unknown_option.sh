#!/bin/sh
# An unknown option exits with status 2, names the option and prints the usage.
# Run by ctest in the build's tests folder with $1 the program.
program=$1
"$program" --no-such-option 2>err-unknown.txt; test $? -eq 2 &&
  grep -q 'unknown option' err-unknown.txt &&
  grep -q usage err-unknown.txt
