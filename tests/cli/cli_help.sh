#!/bin/sh
# --help prints the usage, which lists --headless.
# Run by ctest in the build's tests folder with $1 the program.
program=$1
"$program" --help | grep -q -- --headless
